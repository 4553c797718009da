// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/apperror.h"
#include "geometry/profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <string>

namespace {

constexpr double kPi = std::numbers::pi;
const double kAlpha = 20.0 * kPi / 180.0;

double Inv(double a) { return std::tan(a) - a; }

constexpr double kTolerance = 0.001;

GearSpec Gear(double m, int z, double x)
{
    GearSpec in;
    in.module = m;
    in.teeth = z;
    in.shift = x;
    in.cutter.tipRadius = 0.38 * m;
    return in;
}

// Signed distance from (px, py) to the rack-generated profile of tooth 0's
// negative-y flank, found the other way round from the generator: the fillet
// as the nearest of all positions of the rack's tip rounding (a minimum over
// the roll), the involute by its polar equation.
struct TrueFlank {
    explicit TrueFlank(const GearSpec& in) : m(in.module), z(in.teeth), x(in.shift), rho(in.cutter.tipRadius) {}
    double m, z, x, rho;
    double r = z * m / 2, rb = r * std::cos(kAlpha);
    double hc = 1.25 * m - rho;
    double xic = kPi * m / 4 - hc * std::tan(kAlpha) - rho / std::cos(kAlpha);
    double etac = -(r + x * m) + hc;

    double ToFillet(double px, double py) const
    {
        auto at = [&](double phi) {
            const double cx = xic + r * phi, a = kPi / 2 - kPi / z - phi;
            return std::hypot(px - (cx * std::cos(a) - etac * std::sin(a)), py - (cx * std::sin(a) + etac * std::cos(a)));
        };
        const double step = 16.0 / z / 4000;
        double best = -8.0 / z;
        for (int k = 0; k <= 4000; ++k)
            if (at(-8.0 / z + k * step) < at(best))
                best = -8.0 / z + k * step;
        double lo = best - step, hi = best + step;
        for (int k = 0; k < 100; ++k) {
            const double a = lo + (hi - lo) / 3, b = hi - (hi - lo) / 3;
            (at(a) < at(b) ? hi : lo) = at(a) < at(b) ? b : a;
        }
        return at((lo + hi) / 2) - rho;
    }
    double ToInvolute(double px, double py) const
    {
        const double radius = std::hypot(px, py), aR = std::acos(rb / radius);
        const double halfBase = (kPi / 2 + 2 * x * std::tan(kAlpha)) / z + Inv(kAlpha);
        return radius * (std::atan2(py, px) - (-halfBase + Inv(aR))) * std::cos(aR);
    }
};

// Largest distance of tooth 0's negative-y chords from the true curve.
double WorstChord(const GearProfile& p, const GearSpec& in)
{
    const TrueFlank flank(in);
    const double ra = p.tipDiameter / 2, rf = p.rootDiameter / 2, rs = p.involuteStartDiameter / 2;
    double worst = 0;
    for (int i = 0; i + 1 < p.pointsPerTooth && p.points[i].y < 0; ++i) {
        const OutlinePoint a = p.points[i], b = p.points[i + 1];
        const double r0 = std::hypot(a.x, a.y), r1 = std::hypot(b.x, b.y);
        for (int k = 1; k < 16; ++k) {
            const double px = a.x + (b.x - a.x) * k / 16, py = a.y + (b.y - a.y) * k / 16, pr = std::hypot(px, py);
            double d;
            if (std::fabs(r0 - rf) < 1e-9 && std::fabs(r1 - rf) < 1e-9)
                d = rf - pr;
            else if (std::fabs(r0 - ra) < 1e-9 && std::fabs(r1 - ra) < 1e-9)
                d = ra - pr;
            else if (std::min(r0, r1) >= rs - 1e-9)
                d = flank.ToInvolute(px, py);
            else
                d = flank.ToFillet(px, py);
            worst = std::max(worst, std::fabs(d));
        }
    }
    return worst;
}

TEST(GearProfile, ChordsStayWithinTheToleranceOfTheTrueCurve)
{
    for (double m : {1.0, 3.0, 10.0})
        for (int z : {12, 40, 70}) {
            const GearSpec in = Gear(m, z, 0.0);
            const GearProfile p = BuildGearProfile(in, kTolerance);
            const double worst = WorstChord(p, in);
            EXPECT_LE(worst, kTolerance * (1 + 1e-6)) << "m " << m << " z " << z;
            EXPECT_LE(p.deviation, kTolerance) << "m " << m << " z " << z;
            EXPECT_NEAR(p.deviation, worst, 2e-5) << "the reported deviation is the one achieved";
            EXPECT_EQ(p.points.size(), static_cast<std::size_t>(p.pointsPerTooth) * z);
            std::printf("m %-3g z %-3d points %6zu per tooth %4d deviation %.6f mm\n", m, z, p.points.size(),
                        p.pointsPerTooth, p.deviation);
        }
}

TEST(GearProfile, GeneratedRootOfModule2With20Teeth)
{
    const GearSpec in = Gear(2.0, 20, 0.0);
    const GearProfile p = BuildGearProfile(in, kTolerance);
    EXPECT_FALSE(p.undercut);
    EXPECT_NEAR(p.involuteStartDiameter, 37.640, 0.0005);
    double lowest = 1e9;
    for (int i = 0; i < p.pointsPerTooth; ++i)
        lowest = std::min(lowest, std::hypot(p.points[i].x, p.points[i].y));
    EXPECT_NEAR(lowest, 17.5, 1e-6);
    EXPECT_EQ(p.tipDiameter, 44.0);
    // Where the fillet meets the involute lies on both curves.
    const TrueFlank flank(in);
    for (int i = 0; i < p.pointsPerTooth && p.points[i].y < 0; ++i)
        if (std::fabs(std::hypot(p.points[i].x, p.points[i].y) * 2 - p.involuteStartDiameter) < 1e-9) {
            EXPECT_NEAR(flank.ToFillet(p.points[i].x, p.points[i].y), 0.0, 1e-9);
            EXPECT_NEAR(flank.ToInvolute(p.points[i].x, p.points[i].y), 0.0, 1e-9);
        }
}

// The pieces run round the tooth in the model's order and close on tooth 1,
// and every point of a piece lies on that piece's own curve (the other flank's
// pieces and tooth 1's turned back onto tooth 0's negative-y side).
TEST(GearProfile, PiecesFollowTheToothAndEachPointLiesOnItsOwnCurve)
{
    const PieceKind order[] = {PieceKind::Trochoid, PieceKind::Involute, PieceKind::TipArc,
                               PieceKind::Involute, PieceKind::Trochoid, PieceKind::RootArc};
    for (const GearSpec& in : {Gear(2.0, 20, 0.0), Gear(1.0, 12, 0.0), Gear(3.0, 40, 0.5)}) {
        SCOPED_TRACE("z " + std::to_string(in.teeth) + " x " + std::to_string(in.shift));
        const GearProfile p = BuildGearProfile(in, kTolerance);
        const TrueFlank flank(in);
        const auto perTooth = static_cast<std::size_t>(p.pointsPerTooth);
        ASSERT_EQ(p.pieces.size(), 6u);
        EXPECT_EQ(p.pieces.back().last, p.pieces.front().first + perTooth);
        for (std::size_t k = 0; k < p.pieces.size(); ++k) {
            const ProfilePiece& piece = p.pieces[k];
            EXPECT_EQ(piece.kind, order[k]) << k;
            EXPECT_LT(piece.first, piece.last) << k;
            if (k > 0) {
                EXPECT_EQ(piece.first, p.pieces[k - 1].last) << k;
            }
            const double radius = piece.kind == PieceKind::RootArc ? p.rootDiameter / 2
                                  : piece.kind == PieceKind::TipArc ? p.tipDiameter / 2 : 0.0;
            EXPECT_EQ(piece.radius, radius) << k;
            for (std::size_t i = piece.first; i <= piece.last; ++i) {
                const OutlinePoint q = p.points[i % p.points.size()];
                const double turn = -2 * kPi / in.teeth * static_cast<double>(i / perTooth);
                const double x = q.x * std::cos(turn) - q.y * std::sin(turn);
                const double y = -std::fabs(q.x * std::sin(turn) + q.y * std::cos(turn));
                const double off = piece.kind == PieceKind::Trochoid   ? flank.ToFillet(x, y)
                                   : piece.kind == PieceKind::Involute ? flank.ToInvolute(x, y)
                                                                       : std::hypot(x, y) - radius;
                EXPECT_NEAR(off, 0.0, 1e-8) << "piece " << k << " point " << i;
            }
        }
    }
}

TEST(GearProfile, UndercutOf12TeethFollowsTheSmallestShift)
{
    const double xMin = 1.25 - 0.38 * (1 - std::sin(kAlpha)) - 12 * std::sin(kAlpha) * std::sin(kAlpha) / 2;
    EXPECT_NEAR(xMin, 0.2981, 1e-4);
    for (double x : {0.0, 0.29, 0.3, 0.5}) {
        const GearSpec in = Gear(1.0, 12, x);
        const GearProfile p = BuildGearProfile(in, kTolerance);
        EXPECT_EQ(p.undercut, x < xMin) << x;
        // Undercut: below the involute the fillet turns back into the tooth,
        // which is thinner there than where the involute starts.
        double start = 0, neck = -kPi;
        for (int i = 0; i < p.pointsPerTooth && p.points[i].y < 0; ++i) {
            const double r = std::hypot(p.points[i].x, p.points[i].y), angle = std::atan2(p.points[i].y, p.points[i].x);
            if (std::fabs(2 * r - p.involuteStartDiameter) < 1e-9)
                start = angle;
            else if (2 * r < p.involuteStartDiameter)
                neck = std::max(neck, angle);
        }
        const double depth = p.involuteStartDiameter / 2 * (neck - start);
        std::printf("x %.2f undercut depth %.6f mm\n", x, depth);
        EXPECT_EQ(depth > 1e-3, x == 0.0) << x << " " << depth;
    }
}

bool Cross(OutlinePoint a, OutlinePoint b, OutlinePoint c, OutlinePoint d)
{
    auto side = [](OutlinePoint p, OutlinePoint q, OutlinePoint r) { return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x); };
    return side(a, b, c) * side(a, b, d) < 0 && side(c, d, a) * side(c, d, b) < 0;
}

TEST(GearProfile, OneClosedOutlineThatNeverCrossesItself)
{
    for (const GearSpec& in : {Gear(1.0, 12, 0.0), Gear(2.0, 20, 0.0), Gear(1.0, 40, -0.5)}) {
        const auto& pts = BuildGearProfile(in, kTolerance).points;
        const std::size_t n = pts.size();
        int crossings = 0;
        for (std::size_t i = 0; i < n; ++i) {
            EXPECT_GT(std::hypot(pts[i].x - pts[(i + 1) % n].x, pts[i].y - pts[(i + 1) % n].y), 1e-9);
            for (std::size_t j = i + 2; j < n; ++j)
                if (!(i == 0 && j == n - 1))
                    crossings += Cross(pts[i], pts[i + 1], pts[j], pts[(j + 1) % n]);
        }
        EXPECT_EQ(crossings, 0) << in.teeth;
    }
}

TEST(GearProfile, RefusesWhatGivesNoOutline)
{
    struct Case {
        GearSpec in;
        double tolerance;
        std::string message;
    };
    GearSpec fine = Gear(1.0, 20, 0.0);
    GearSpec sharp = fine, round = fine, endless = fine, few = fine, angle = fine, offTable = fine;
    GearSpec huge = Gear(100.0, 10000, 0.0);
    sharp.cutter.tipRadius = -0.01;
    round.cutter.tipRadius = 0.6;
    endless.cutter.tipRadius = std::numeric_limits<double>::infinity();
    few.teeth = 2;
    angle.pressureAngleDegrees = std::nan("");   // a gear record's index outside the table
    offTable.pressureAngleDegrees = 25.0;
    GearSpec fineHuge = Gear(1000.0, 10000, 0.0);
    const Case cases[] = {
        {Gear(1.0, 12, 2.0), kTolerance, ProfileCrossingTeethMessage()},   // pointed teeth
        {fine, 0.0, ProfileToleranceMessage()},
        {sharp, kTolerance, ProfileTipRadiusMessage()},
        {round, kTolerance, ProfileTipRadiusMessage()},
        {endless, kTolerance, ProfileTipRadiusMessage()},
        {few, kTolerance, "歯数は 3 以上 10000 以下にしてください"},
        {angle, kTolerance, "圧力角の番号が正しくありません"},
        {offTable, kTolerance, "圧力角の番号が正しくありません"},
        {huge, 0.00001, "点の数が 500 万を超えます。許容差を大きくしてください"},
        // Circles that are not finite, modules too small for the files' digits, a root circle
        // past the centre (3 and 4 teeth: not the crossing teeth), a limit met while subdividing.
        {Gear(1e-300, 20, 1e308), kTolerance, "モジュールは 0.001 mm 以上 1000 mm 以下にしてください"},
        {Gear(1e-12, 20, 0.0), kTolerance, "モジュールは 0.001 mm 以上 1000 mm 以下にしてください"},
        {Gear(1.0, 20, 1e308), kTolerance, ProfileNotFiniteMessage()},
        {Gear(1.0112, 3, -0.388), kTolerance, ProfileRootMessage()},
        {Gear(1.0, 4, -0.8), kTolerance, ProfileRootMessage()},
        {fineHuge, 0.00001, ProfilePointLimitMessage()},
    };
    for (const Case& c : cases) {
        try {
            BuildGearProfile(c.in, c.tolerance);
            ADD_FAILURE() << c.message;
        } catch (const AppError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
}

// A rack without a chosen tip radius has the default tool's, 0.38 m.
TEST(GearProfile, UnchosenTipRadiusIsTheDefaultTools)
{
    for (const double m : {0.5, 1.0, 3.0}) {
        GearSpec chosen = Gear(m, 20, 0.1), unchosen = chosen;
        chosen.cutter.tipRadius = DefaultToolTipRadius(m);
        unchosen.cutter.tipRadius = std::nan("");
        const GearProfile a = BuildGearProfile(chosen, kTolerance), b = BuildGearProfile(unchosen, kTolerance);
        ASSERT_EQ(a.points.size(), b.points.size()) << m;
        EXPECT_EQ(0, std::memcmp(a.points.data(), b.points.data(), a.points.size() * sizeof(OutlinePoint))) << m;
        EXPECT_EQ(a.involuteStartDiameter, b.involuteStartDiameter) << m;
    }
}

}  // namespace
