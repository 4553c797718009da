// SPDX-License-Identifier: GPL-3.0-or-later
// A pinion in a ring and on a rack: published values, each interference on
// both sides of its limit, the ring as its cutter cuts it and the rack.
#include "commands/numbertext.h"
#include "base/apperror.h"
#include "geometry/gearmodel.h"
#include "geometry/internalgear.h"
#include "geometry/internalpair.h"
#include "geometry/pair.h"
#include "geometry/rackpair.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace {

std::string Fixed(double v, int decimals) { return FormatFixed(v, 11, decimals, "."); }

PairInput Pair(double m, std::int32_t z1, std::int32_t z2, double x1, double x2, double alpha = 20.0)
{
    PairInput in;
    in.module = m;
    in.pressureAngle = alpha;
    in.teeth = {z1, z2};
    in.shift = {x1, x2};
    return in;
}

bool Lists(const std::vector<std::string>& findings, const std::string& start)
{
    for (const std::string& f : findings)
        if (f.rfind(start, 0) == 0)
            return true;
    return false;
}

// The published values, to their published digits.
TEST(Mate, PublishedInternalAndRackValues)
{
    const InternalPairResult ring = ComputeInternalPair(Pair(14, 17, 96, 0.2, 0.5));
    const RackPairResult rack = ComputeRackPair(Pair(3.0, 20, 0, 0.0, 0.0, 20.0));
    const struct {
        double value;
        int decimals;
        const char* text;
    } rows[] = {
        {ring.workingPressureAngle, 4, "21.1251"},
        {ring.centerDistance, 4, "557.0887"},
        {static_cast<double>(SmallestRingWithoutTrimming(20, 0.0, 0.0, 20.0)), 0, "38"},
        {static_cast<double>(SmallestRingWithoutTrimming(30, 0.0, 0.0, 20.0)), 0, "48"},
        {rack.rackChordalThickness, 4, "4.7124"},
        {rack.rackChordalHeight, 4, "3.0000"},
        {rack.centerToReferenceLine, 4, "30.0000"},
        {rack.workingPressureAngle, 4, "20.0000"},
        {rack.travelPerTurn, 4, "188.4956"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Fixed(row.value, row.decimals), row.text);
    // The ring one tooth smaller trims; from the centre distance back to x2.
    EXPECT_EQ(SmallestRingWithoutTrimming(20, 0.0, 0.0, 20.0) - 1, 37);
    const InternalPairResult back = ComputeInternalPairForCenterDistance(Pair(14, 17, 96, 0.2, 0.0), ring.centerDistance);
    EXPECT_NEAR(back.input.shift[1], 0.5, 1e-12);
    EXPECT_TRUE(back.fromCenterDistance);
    // A shifted pinion on the rack: the line moves out by x m, the contact ratio falls.
    const RackPairResult shifted = ComputeRackPair(Pair(3.0, 20, 0, 0.5, 0.0, 20.0));
    EXPECT_DOUBLE_EQ(shifted.centerToReferenceLine, 31.5);
    EXPECT_LT(shifted.contactRatio, rack.contactRatio);
}

// Each interference once on either side of its limit, with its finding.
TEST(Mate, EachInterferenceOnBothSidesOfItsLimit)
{
    const struct {
        std::int32_t z1, z2;
        double x1, x2;
        InterferenceCheck InternalPairResult::*check;
        const char* finding;
        bool interferes;
    } cases[] = {
        {20, 60, 0.0, 0.0, &InternalPairResult::involute, "警告：インボリュート干渉", true},
        {20, 60, 0.0, 0.05, &InternalPairResult::involute, "警告：インボリュート干渉", false},
        {30, 38, 0.0, 0.0, &InternalPairResult::trochoid, "警告：トロコイド干渉", true},
        {30, 39, 0.0, 0.0, &InternalPairResult::trochoid, "警告：トロコイド干渉", false},
        {20, 36, 0.0, 0.0, &InternalPairResult::trimming, "警告：トリミング干渉", true},
        {20, 37, 0.0, 0.0, &InternalPairResult::trimming, "警告：トリミング干渉", false},
        // The tip's contact runs 0.017 mm into the ring's fillet, but the
        // generated teeth overlap by less than a micrometre (shapely on the
        // pictures, mesh_cli): not interfering; 30/85 x 0.5/0.9 by 10 um.
        {20, 30, 0.0, 1.0, &InternalPairResult::tipDepth, "警告：歯先干渉", false},
        {30, 85, 0.5, 0.9, &InternalPairResult::tipDepth, "警告：歯先干渉", true},
    };
    for (const auto& c : cases) {
        const InternalPairResult r = ComputeInternalPair(Pair(1, c.z1, c.z2, c.x1, c.x2));
        const InterferenceCheck& check = r.*c.check;
        SCOPED_TRACE(std::to_string(c.z1) + "/" + std::to_string(c.z2) + " " + c.finding);
        EXPECT_EQ(check.interferes, c.interferes);
        ASSERT_TRUE(check.margin.has_value());
        const bool depth = c.check == &InternalPairResult::tipDepth;
        EXPECT_EQ(depth ? *check.margin > kTipCheckDepth : *check.margin < 0.0, c.interferes);
        if (depth) {
            EXPECT_EQ(r.tip.interferes, c.interferes);
        }
        EXPECT_EQ(Lists(r.findings, c.finding), c.interferes);
    }
    // Refused: a ring no larger than its pinion, a difference of shifts with no centre distance.
    EXPECT_THROW(ComputeInternalPair(Pair(1, 30, 30, 0, 0)), AppError);
    EXPECT_THROW(ComputeInternalPair(Pair(1, 20, 30, 2.0, 0)), AppError);
    EXPECT_THROW(ComputeRackPair(Pair(1.0, 0, 0, 0.0, 0.0, 20.0)), AppError);
    // The rack's findings: the contact ratio and the pinion's undercut.
    const RackPairResult small = ComputeRackPair(Pair(1.0, 8, 0, 0.0, 0.0, 20.0));
    EXPECT_TRUE(Lists(small.findings, FindingText(ToothFinding::Undercut, "歯車１")));
    EXPECT_FALSE(Lists(ComputeRackPair(Pair(1.0, 18, 0, 0.0, 0.0, 20.0)).findings, "警告"));
    EXPECT_TRUE(Lists(ComputeRackPair(Pair(1.0, 18, 0, 1.5, 0.0, 20.0)).findings, "警告：かみあい率"));
}

// The ring's sizes with the shift moving its teeth outward, its cutter and the pins.
TEST(Mate, RingSizesCutterAndPins)
{
    GearSpec in{.kind = GearKind::Internal, .cutter = {.kind = CutterKind::Pinion}};
    in.module = 2.0;
    in.teeth = 60;
    in.shift = 0.5;
    const InternalGearSizes s = ComputeInternalGear(in);
    const double tanA = std::tan(20.0 * std::numbers::pi / 180.0);
    EXPECT_DOUBLE_EQ(s.tipDiameter, 120.0 - 2.0 * 2.0 * (1.0 - 0.5));
    EXPECT_NEAR(s.spaceWidth, std::numbers::pi + 2.0 * 0.5 * 2.0 * tanA, 1e-12);
    EXPECT_NEAR(s.spaceWidth + s.toothThickness, 2.0 * std::numbers::pi, 1e-12);
    EXPECT_EQ(s.cutter.teeth, 38);                  // 75 mm / m 2
    // The cutter's centre moves out by less than x m: the root lies short of d + 2m(1.25 + x).
    EXPECT_GT(s.rootDiameter, 120.0 + 2.0 * 2.0 * 1.25);
    EXPECT_LT(s.rootDiameter, 120.0 + 2.0 * 2.0 * 1.75);
    EXPECT_DOUBLE_EQ(s.wholeDepth, (s.rootDiameter - s.tipDiameter) / 2.0);
    EXPECT_NEAR(s.basePitch, std::numbers::pi * 2.0 * std::cos(20.0 * std::numbers::pi / 180.0), 1e-12);
    // The ideal pin touches on d + 2xm; the same pin given gives the same M.
    EXPECT_NEAR(*s.pinContactDiameter.value, 122.0, 1e-9);
    const InternalGearSizes given = ComputeInternalGear(in, *s.pinDiameter.value);
    EXPECT_NEAR(*given.betweenPins.value, *s.betweenPins.value, 1e-9);
    // Odd teeth: the pins lie half a pitch off the diameter.
    in.teeth = 61;
    const InternalGearSizes odd = ComputeInternalGear(in, *s.pinDiameter.value);
    EXPECT_LT(*odd.betweenPins.value, *ComputeInternalGear(in).pinContactDiameter.value);
    EXPECT_FALSE(ComputeInternalGear(in, 40.0).betweenPins.present());
    // A ring too small for the common cutter gets a smaller one that does not trim it.
    in.teeth = 40;
    in.shift = 0.0;
    const InternalGearSizes small = ComputeInternalGear(in);
    EXPECT_DOUBLE_EQ(small.rootDiameter, 80.0 + 2.0 * 2.0 * 1.25);   // unshifted: 1.25 m beyond d
    EXPECT_LT(small.cutter.teeth, 38);
    EXPECT_TRUE(small.findings.empty());
    in.cutter.teeth = 30;
    EXPECT_TRUE(Lists(ComputeInternalGear(in).findings, "警告：歯数 30 のピニオンカッタ"));
}

// The generated ring: closed and counter-clockwise, within the tolerance,
// the space width on the reference circle, tip and root circles reached.
TEST(Mate, GeneratedRingProfile)
{
    // The default cutter (0), or the one given; the rings of large shifts
    // whose fillet was taken on the wrong side of the cutter's rounding
    // (z 40 x 0.95; z 60 x 1.3 in mate_cli), or refused (z 60 x 0.99, the textbook space
    // 2.291457 with cutters of 54 and 55 teeth; z 85, z 139).
    const struct {
        double module;
        std::int32_t teeth;
        double x;
        std::int32_t cutter;
    } rings[] = {{3, 50, 0.0, 0}, {3, 50, 0.5, 0}, {2, 40, 0.95, 0}, {1, 60, 0.99, 0},
                 {1, 60, 0.99, 54}, {1, 60, 0.99, 55}, {1, 85, 0.9, 0}, {0.5, 139, 0.7, 0}};
    for (const auto& ring : rings) {
        const double x = ring.x;
        GearSpec in{.kind = GearKind::Internal, .cutter = {.kind = CutterKind::Pinion}};
        in.module = ring.module;
        in.teeth = ring.teeth;
        in.shift = x;
        in.cutter.teeth = ring.cutter;
        const GearProfile p = BuildInternalGearProfile(in, 0.0001);
        SCOPED_TRACE(std::to_string(ring.teeth) + " x " + std::to_string(x) + " cutter " + std::to_string(ring.cutter));
        EXPECT_TRUE(ComputeInternalGear(in).findings.empty());
        // From the space's middle to the tooth's the flank only comes inwards.
        for (int i = 0; i < p.pointsPerTooth / 2; ++i)
            EXPECT_LE(std::hypot(p.points[i + 1].x, p.points[i + 1].y), std::hypot(p.points[i].x, p.points[i].y) + 1e-9);
        EXPECT_LE(p.deviation, 0.0001);
        EXPECT_EQ(p.points.size(), static_cast<std::size_t>(p.pointsPerTooth) * in.teeth);
        double area = 0.0, rMin = 1e9, rMax = 0.0;
        for (std::size_t i = 0; i < p.points.size(); ++i) {
            const OutlinePoint& a = p.points[i];
            const OutlinePoint& b = p.points[(i + 1) % p.points.size()];
            area += a.x * b.y - b.x * a.y;
            rMin = std::min(rMin, std::hypot(a.x, a.y));
            rMax = std::max(rMax, std::hypot(a.x, a.y));
        }
        EXPECT_GT(area, 0.0);
        EXPECT_NEAR(2.0 * rMin, p.tipDiameter, 1e-9);
        EXPECT_NEAR(2.0 * rMax, p.rootDiameter, 1e-9);
        // Tooth 0 between the two crossings of the reference circle; the space is the rest of the pitch.
        const double r = p.pitchDiameter / 2.0;
        std::vector<double> crossings;
        for (int i = 0; i < p.pointsPerTooth; ++i) {
            const OutlinePoint& a = p.points[i];
            const OutlinePoint& b = p.points[i + 1];
            const double ra = std::hypot(a.x, a.y), rb = std::hypot(b.x, b.y);
            if ((ra - r) * (rb - r) <= 0.0 && ra != rb) {
                const double t = (r - ra) / (rb - ra);
                crossings.push_back(std::atan2(a.y + t * (b.y - a.y), a.x + t * (b.x - a.x)));
            }
        }
        ASSERT_EQ(crossings.size(), 2u);
        const double space = 2.0 * std::numbers::pi * r / in.teeth - (crossings[1] - crossings[0]) * r;
        EXPECT_NEAR(space, in.module * (std::numbers::pi / 2.0 + 2.0 * x * std::tan(std::numbers::pi / 9.0)), 0.0002);
        if (ring.cutter == 54 || ring.cutter == 55) {
            EXPECT_NEAR(space, 2.291457, 0.0002);
        }
    }
    // No cutter of 10 to 28 teeth cuts this one without trimming; each of
    // the two named says why, and no pair's difference of shifts is named.
    GearSpec none{.kind = GearKind::Internal, .cutter = {.kind = CutterKind::Pinion}};
    none.module = 0.5;
    none.teeth = 29;
    none.shift = -0.21;
    try {
        ComputeInternalGear(none);
        ADD_FAILURE() << "a ring no cutter cuts was computed";
    } catch (const AppError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("歯数 10～28 のどのピニオンカッタでも"), std::string::npos) << what;
        EXPECT_NE(what.find("歯数 10 では内歯車の歯先が削られる"), std::string::npos) << what;
        EXPECT_EQ(what.find("x2−x1"), std::string::npos) << what;
    }
    GearSpec tooSmall{.kind = GearKind::Internal, .cutter = {.kind = CutterKind::Pinion}};
    tooSmall.module = 1.0;
    tooSmall.teeth = 30;   // its tip circle lies inside the base circle
    EXPECT_THROW(BuildInternalGearProfile(tooSmall, 0.001), AppError);
}

// The ring as a kind of the gear model: its pieces join without a gap, from
// the space's middle to the tooth's, and its tooth is the pitch less the space.
TEST(Mate, RingOnTheGearModel)
{
    for (const double x : {-0.3, 0.0, 0.8}) {
        GearSpec spec;
        spec.kind = GearKind::Internal;
        spec.cutter.kind = CutterKind::Pinion;
        spec.module = 2.5;
        spec.teeth = 72;
        spec.shift = x;
        const GearModel ring(spec);
        SCOPED_TRACE(x);
        const auto& pieces = ring.Boundary();
        ASSERT_EQ(pieces.size(), 4u);
        for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
            const OutlinePoint a = ring.PointOn(pieces[i].kind, pieces[i].to);
            const OutlinePoint b = ring.PointOn(pieces[i + 1].kind, pieces[i + 1].from);
            EXPECT_LT(std::hypot(a.x - b.x, a.y - b.y), 1e-9) << i;
        }
        EXPECT_NEAR(pieces.front().from, -std::numbers::pi / 72, 1e-15);
        EXPECT_EQ(pieces.back().to, 0.0);
        EXPECT_NEAR(ring.InvoluteThicknessAt(ring.PitchDiameter()), ring.ReferenceThickness(), 1e-9);
        EXPECT_NEAR(ring.ReferenceThickness(), 2.5 * (std::numbers::pi / 2 - 2 * x * std::tan(std::numbers::pi / 9)), 1e-12);
        EXPECT_TRUE(ring.InvoluteStartDiameter() > ring.TipDiameter() && ring.InvoluteStartDiameter() < ring.RootDiameter());
        EXPECT_TRUE(ring.Findings().empty());
    }
    GearSpec wrong;
    wrong.kind = GearKind::Internal;   // a ring is not cut by a rack
    EXPECT_FALSE(GearSpecDefect(wrong).empty());
}

// The rack: teeth up from x = 0 to the length, pi m / 2 thick on the reference line.
// The same pinion just below and just above the shift at which its rack
// undercuts it: beside another external gear, in a ring and on a rack it is
// undercut on the same side of that limit and says so in the same words. At
// 14.5 degrees the limit lies 0.035 below the sharp-cornered rack's.
TEST(Mate, EveryMateUndercutsThePinionAlike)
{
    const struct {
        double alpha;
        std::int32_t z1;
        double offset;   // from the limit
    } cases[] = {{14.5, 20, -0.005}, {14.5, 20, 0.005}, {20.0, 12, -0.005}, {20.0, 12, 0.005}};
    const std::string undercut = FindingText(ToothFinding::Undercut, "歯車１");
    for (const auto& c : cases) {
        const double limit = GearModel(GearOf(Pair(2.0, c.z1, 0, 0.0, 0.0, c.alpha), 0)).MinShift();
        const double x = limit + c.offset;
        SCOPED_TRACE(std::to_string(c.alpha) + " z1 " + std::to_string(c.z1) + " x1 " + std::to_string(x));
        const bool expected = c.offset < 0.0;
        EXPECT_EQ(Lists(ComputePair(Pair(2.0, c.z1, 40, x, 0.0, c.alpha)).findings, undercut), expected);
        EXPECT_EQ(Lists(ComputeInternalPair(Pair(2.0, c.z1, 60, x, x, c.alpha)).findings, undercut), expected);
        EXPECT_EQ(Lists(ComputeRackPair(Pair(2.0, c.z1, 0, x, 0.0, c.alpha)).findings, undercut), expected);
        EXPECT_EQ(ComputeRackPair(Pair(2.0, c.z1, 0, x, 0.0, c.alpha)).minShift, limit);
    }
}

TEST(Mate, RackProfile)
{
    const RackProfile rack = BuildRackProfile(2.0, 20.0, 50.0, 0.001);
    EXPECT_LE(rack.deviation, 0.001);
    std::vector<double> crossings;
    double area = 0.0;
    for (std::size_t i = 0; i < rack.points.size(); ++i) {
        const OutlinePoint& a = rack.points[i];
        const OutlinePoint& b = rack.points[(i + 1) % rack.points.size()];
        area += a.x * b.y - b.x * a.y;
        EXPECT_TRUE(a.x >= 0.0 && a.x <= 50.0 && a.y >= rack.bottom && a.y <= 2.0);
        if (a.y * b.y < 0.0 && a.x > 0.0 && a.x < 50.0)
            crossings.push_back(a.x + (b.x - a.x) * a.y / (a.y - b.y));
    }
    EXPECT_GT(area, 0.0);   // counter-clockwise
    ASSERT_GE(crossings.size(), 4u);
    std::sort(crossings.begin(), crossings.end());
    // Going left along the teeth: pairs of crossings bound a tooth and a space, each pi m / 2.
    for (std::size_t i = 0; i + 1 < crossings.size(); ++i)
        EXPECT_NEAR(crossings[i + 1] - crossings[i], std::numbers::pi, 1e-9);
    EXPECT_NEAR(crossings[0], std::numbers::pi / 2.0, 1e-9);   // a space centred on x = 0
    EXPECT_THROW(BuildRackProfile(2.0, 20.0, 0.0, 0.001), AppError);
}

}  // namespace

// Contact cannot start before gear 1's tangent point T1: a ring's tip inside
// its base circle, or a rack's tip line past T1, starts it there (the
// textbook ratio from gear 1's tip to T1), and a finding says so.
TEST(Mate, ContactStartsNoEarlierThanTheTangentPoint)
{
    const struct {
        double module, alpha;
        std::int32_t z1, z2;   // z2 0: a rack
        double x1;
        bool fromTangent;
    } cases[] = {{2, 14.5, 20, 50, 0.0, true}, {1, 14.5, 30, 0, 0.0, true}, {1, 20, 20, 0, 0.0, false}};
    for (const auto& c : cases) {
        const double a = c.alpha * std::numbers::pi / 180.0, pb = std::numbers::pi * c.module * std::cos(a);
        const double r = c.module * c.z1 / 2.0, rb = r * std::cos(a), ra = r + c.module * (1.0 + c.x1);
        const double recess = std::sqrt(ra * ra - rb * rb);
        const double approach = c.fromTangent ? 0.0 : c.module * (1.0 - c.x1) / std::sin(a) - r * std::sin(a);
        const std::vector<std::string> findings =
            c.z2 > 0 ? ComputeInternalPair(Pair(c.module, c.z1, c.z2, c.x1, 0.0, c.alpha)).findings
                     : ComputeRackPair(Pair(c.module, c.z1, 0, c.x1, 0.0, c.alpha)).findings;
        const double ratio = c.z2 > 0 ? ComputeInternalPair(Pair(c.module, c.z1, c.z2, c.x1, 0.0, c.alpha)).contactRatio
                                      : ComputeRackPair(Pair(c.module, c.z1, 0, c.x1, 0.0, c.alpha)).contactRatio;
        SCOPED_TRACE(std::to_string(c.z1) + "/" + std::to_string(c.z2) + " at " + std::to_string(c.alpha));
        EXPECT_NEAR(ratio, (recess + approach) / pb, 1e-12);
        EXPECT_EQ(Lists(findings, kContactFromTangentText), c.fromTangent);
    }
}
