// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/apperror.h"
#include "geometry/internalpair.h"
#include "geometry/mesh.h"
#include "geometry/rackpair.h"
#include "geometry/profile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

PairInput Gears(double m, double alpha, int z1, int z2, double x1, double x2)
{
    PairInput in;
    in.module = m;
    in.pressureAngle = alpha;
    in.teeth = {z1, z2};
    in.shift = {x1, x2};
    return in;
}

PairResult Pair(double m, double alpha, int z1, int z2, double x1, double x2)
{
    return ComputePair(Gears(m, alpha, z1, z2, x1, x2));
}

MeshInput Mesh(double m, double alpha, int z1, int z2, double x1, double x2)
{
    return MeshInputOf(Pair(m, alpha, z1, z2, x1, x2));
}

double Length(OutlinePoint a, OutlinePoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

double Perimeter(const MeshPolygon& p)
{
    double length = 0.0;
    for (std::size_t i = 0; i < p.size(); ++i)
        length += Length(p[i], p[(i + 1) % p.size()]);
    return length;
}

double Area(const MeshPolygon& p)
{
    double twice = 0.0;
    for (std::size_t i = 0; i < p.size(); ++i)
        twice += p[i].x * p[(i + 1) % p.size()].y - p[(i + 1) % p.size()].x * p[i].y;
    return std::fabs(twice) / 2.0;
}

// The line of action drawn is the pair's: its length a sin alpha_w, the part
// between the tip circles one contact ratio of base pitches, the pitch point
// where the working pitch circles touch; gear 2 turns back by z1/z2.
TEST(GearMesh, LineOfActionIsThePairs)
{
    const PairResult cases[] = {Pair(3, 20, 12, 24, 0.6, 0.36), Pair(2, 20, 20, 40, 0, 0), Pair(2, 14.5, 20, 40, 0, 0),
                                Pair(1, 20, 40, 40, 0.5, -0.2), Pair(3, 20, 12, 24, 0, 0)};
    for (const PairResult& r : cases) {
        const GearMesh mesh(MeshInputOf(r));
        const MeshLineOfAction& line = mesh.lineOfAction();
        const double basePitch = std::numbers::pi * r.input.module * std::cos(r.input.pressureAngle * std::numbers::pi / 180.0);
        EXPECT_NEAR(Length(line.tangent1, line.tangent2), r.lineOfAction, 1e-9);
        EXPECT_NEAR(Length(line.start, line.end) / basePitch, r.contactRatio, 1e-9);
        EXPECT_NEAR(line.pitchPoint.x, r.centerDistance * r.input.teeth[0] / (r.input.teeth[0] + r.input.teeth[1]), 1e-9);
        EXPECT_NEAR(mesh.workingPressureAngle() * 180.0 / std::numbers::pi, r.workingPressureAngle, 1e-9);
        EXPECT_DOUBLE_EQ(mesh.body(1).ratio, -static_cast<double>(r.input.teeth[0]) / r.input.teeth[1]);
        // Contact asked for below gear 1's base circle is what the pair calls interference.
        EXPECT_EQ(line.startBeyondTangent, !r.findings.empty() && r.findings[0].find("歯車２の歯先") != std::string::npos);
        EXPECT_NEAR(mesh.normalBacklash(), 0.0, 1e-12);
    }
}

// A ring and a rack: the line of action and contact ratio are the pair's,
// the mate turns or slides with gear 1 without backlash, and never cuts into it.
TEST(GearMesh, RingAndRackMeshAsTheirPairs)
{
    struct Case {
        MeshInput input;
        double lineOfAction;   // a sin alpha_w (0: a rack, no second tangent point)
        double contactRatio;
        double ratio;          // the mate's turn per turn of gear 1
        double deepest;        // the thickest overlap allowed, mm
    };
    const InternalPairResult ring = ComputeInternalPair(Gears(3, 20, 20, 60, 0, 0.5));
    const InternalPairResult ring14 = ComputeInternalPair(Gears(2, 14.5, 24, 72, 0, 1));
    const RackPairResult rack = ComputeRackPair(Gears(3, 20, 12, 0, 0.6, 0));
    const RackPairResult rack14 = ComputeRackPair(Gears(2, 14.5, 30, 0, 0, 0));
    // At 14.5 degrees the generating rack's tip rounding (0.38 m) begins
    // below the height m, so the sharp tip corners of the standard rack graze
    // the fillet it left, a few micrometres deep.
    const Case cases[] = {{MeshInputOf(ring), ring.lineOfAction, ring.contactRatio, 20.0 / 60.0, 0.0},
                          {MeshInputOf(ring14), ring14.lineOfAction, ring14.contactRatio, 24.0 / 72.0, 0.0},
                          {MeshInputOf(rack), 0.0, rack.contactRatio, 0.0, 0.0},
                          {MeshInputOf(rack14), 0.0, rack14.contactRatio, 0.0, 0.005}};
    for (const Case& c : cases) {
        const GearMesh mesh(c.input);
        const MeshLineOfAction& line = mesh.lineOfAction();
        const double basePitch = std::numbers::pi * c.input.gears.module * std::cos(c.input.gears.pressureAngle * std::numbers::pi / 180.0);
        EXPECT_EQ(line.hasTangent2, c.lineOfAction > 0.0);
        if (line.hasTangent2) {
            EXPECT_NEAR(Length(line.tangent1, line.tangent2), c.lineOfAction, 1e-9);
            EXPECT_NEAR(Length(line.from, line.to), c.lineOfAction, 1e-9);
        }
        // The line drawn starts at T1 (a 14.5-degree rack's tip line lies past it).
        EXPECT_EQ(Length(line.from, line.tangent1), 0.0);
        EXPECT_NEAR(Length(line.start, line.end) / basePitch, c.contactRatio, 1e-9);
        EXPECT_NEAR(mesh.normalBacklash(), 0.0, 1e-12);
        EXPECT_DOUBLE_EQ(mesh.body(1).ratio, c.ratio);
        for (double angle = 0.0; angle <= mesh.pitchAngle(); angle += mesh.pitchAngle() / 6.0)
            for (const MeshPolygon& p : mesh.OverlapsAt(angle))
                EXPECT_LT(4.0 * Area(p) / Perimeter(p), c.deepest) << mesh.body(1).id << " " << angle;
    }
    // The rack slides one pitch per pitch of gear 1, drawn back by whole pitches.
    const GearMesh onRack(MeshInputOf(rack));
    EXPECT_NEAR(onRack.PlacementAt(1, 15.0).origin.y - onRack.PlacementAt(1, 0.0).origin.y, 3 * std::numbers::pi / 2.0, 1e-9);
    EXPECT_NEAR(onRack.PlacementAt(1, 360.0).origin.y, onRack.PlacementAt(1, 0.0).origin.y, 1e-9);
}

// A rack set farther off opens the play by exactly 2 da sin(alpha); a ring
// set farther off closes it by 2 da sin(alpha_w) to first order (gear 1 moves
// towards the ring's teeth in mesh). Where the play is negative the teeth cut
// into each other.
TEST(GearMesh, MatesOpenTheirPlayWithTheCentreDistance)
{
    const InternalPairResult ring = ComputeInternalPair(Gears(3, 20, 20, 60, 0, 0.5));
    const RackPairResult rack = ComputeRackPair(Gears(3, 20, 12, 0, 0.6, 0));
    const double sin20 = std::sin(20.0 * std::numbers::pi / 180.0);
    const double sinRing = std::sin(ring.workingPressureAngle * std::numbers::pi / 180.0);
    struct Case {
        MeshInput input;
        double change, backlash, within;
    } const cases[] = {{MeshInputOf(ring), 0.05, -2 * 0.05 * sinRing, 2e-4}, {MeshInputOf(ring), -0.05, 2 * 0.05 * sinRing, 2e-4},
                       {MeshInputOf(rack), 0.1, 2 * 0.1 * sin20, 1e-12}, {MeshInputOf(rack), -0.1, -2 * 0.1 * sin20, 1e-12}};
    for (Case c : cases) {
        c.input.centerDistanceAllowance = c.change;
        const GearMesh mesh(c.input);
        EXPECT_NEAR(mesh.normalBacklash(), c.backlash, c.within) << mesh.body(1).id << " " << c.change;
        double deepest = 0.0;
        for (double angle = 0.0; angle < mesh.pitchAngle(); angle += mesh.pitchAngle() / 8.0)
            for (const MeshPolygon& p : mesh.OverlapsAt(angle))
                deepest = std::max(deepest, 4.0 * Area(p) / Perimeter(p));
        EXPECT_EQ(deepest > 0.01, c.backlash < 0.0) << mesh.body(1).id << " " << c.change << " " << deepest;
    }
}

// Zero backlash: no overlap anywhere in a pitch, and the same picture one pitch on.
TEST(GearMesh, ZeroBacklashPairNeverOverlaps)
{
    const GearMesh mesh(Mesh(3, 20, 12, 24, 0.6, 0.36));
    for (double angle = 0.0; angle <= 30.0; angle += 2.5)
        EXPECT_TRUE(mesh.OverlapsAt(angle).empty()) << angle;
    const double pitch = mesh.pitchAngle();
    EXPECT_DOUBLE_EQ(pitch, 30.0);
    EXPECT_NEAR(mesh.PlacementAt(1, pitch).angle - mesh.PlacementAt(1, 0.0).angle, -2.0 * std::numbers::pi / 24.0, 1e-12);
}

// Thinner teeth and a longer centre distance open the play; a shorter one makes the teeth overlap.
TEST(GearMesh, BacklashAndOverlapFollowTheAllowances)
{
    const double cosAlpha = std::cos(20.0 * std::numbers::pi / 180.0);
    struct Case {
        double thinning1, thinning2, centre;
        double backlash, within;
        bool overlap;
    } const cases[] = {
        {-0.05, -0.08, 0.0, 0.13 * cosAlpha, 1e-12, false},
        {0.0, -0.1, 0.0, 0.1 * cosAlpha, 1e-12, false},
        {0.0, 0.0, 0.1, 2.0 * 0.1 * std::sin(26.0886 * std::numbers::pi / 180.0), 1e-3, false},   // to first order
        {0.0, 0.0, -0.2, -2.0 * 0.2 * std::sin(26.0886 * std::numbers::pi / 180.0), 2e-3, true},
        {0.05, 0.0, 0.0, -0.05 * cosAlpha, 1e-12, true},
    };
    for (const Case& c : cases) {
        MeshInput input = Mesh(3, 20, 12, 24, 0.6, 0.36);
        input.gears.thicknessAllowance = {c.thinning1, c.thinning2};
        input.centerDistanceAllowance = c.centre;
        const GearMesh mesh(input);
        EXPECT_NEAR(mesh.normalBacklash(), c.backlash, c.within) << c.thinning1 << " " << c.thinning2 << " " << c.centre;
        double overlap = 0.0;
        for (double angle = 0.0; angle < 30.0; angle += 5.0)
            for (const MeshPolygon& p : mesh.OverlapsAt(angle))
                overlap += Area(p);
        EXPECT_EQ(overlap > 1e-3, c.overlap) << overlap;
    }
}

TEST(GearMesh, RefusesWhatCannotBeDrawn)
{
    struct Case {
        MeshInput input;
        const char* message;
    };
    MeshInput tight = Mesh(3, 20, 12, 24, 0.6, 0.36);
    tight.centerDistanceAllowance = -10.0;
    MeshInput notANumber = Mesh(3, 20, 12, 24, 0.6, 0.36);
    notANumber.gears.thicknessAllowance[1] = std::nan("");
    MeshInput thinRing = MeshInputOf(ComputeInternalPair(Gears(3, 20, 20, 60, 0, 0.5)));
    thinRing.gears.thicknessAllowance[0] = -0.05;
    MeshInput closeRing = MeshInputOf(ComputeInternalPair(Gears(3, 20, 20, 60, 0, 0.5)));
    closeRing.centerDistanceAllowance = -closeRing.centerDistance;
    MeshInput farRing = MeshInputOf(ComputeInternalPair(Gears(3, 20, 20, 60, 0, 0.5)));
    farRing.centerDistanceAllowance = 60.0;
    MeshInput closeRack = MeshInputOf(ComputeRackPair(Gears(3, 20, 12, 0, 0.6, 0)));
    closeRack.centerDistanceAllowance = -closeRack.centerDistance;
    MeshInput coarse = Mesh(3, 20, 12, 24, 0.6, 0.36);
    coarse.tolerance = 2.0;
    const Case cases[] = {
        {Mesh(1, 20, 2, 24, 0, 0), "歯車１：歯数は 3 以上 10000 以下にしてください"},
        {Mesh(1, 20, 24, 2, 0, 0), "歯車２：歯数は 3 以上 10000 以下にしてください"},
        {tight, "中心距離が小さすぎます（両歯車の基礎円半径の和より大きくしてください）"},
        {notANumber, "歯車２の歯厚の許容差が数ではありません"},
        {thinRing, "歯厚許容差は外歯車どうしの組だけに使います"},
        {closeRing, "中心距離が小さすぎます（内歯車と歯車１の基礎円半径の差より大きくしてください）"},
        {farRing, "中心距離が大きすぎます（歯車１が内歯車の外に出ます）"},
        {closeRack, "ラックの位置が歯車１の中心に近すぎます"},
        {coarse, "許容差は 0.00001 mm 以上 1 mm 以下にしてください"},
    };
    for (const Case& c : cases) {
        try {
            GearMesh mesh(c.input);
            ADD_FAILURE() << "accepted: " << c.message;
        } catch (const AppError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    MeshInput fifteen = Mesh(1, 15, 20, 30, 0, 0);
    EXPECT_THROW(GearMesh{fifteen}, AppError);
}

// A pair's shortened tip: the tip circle shortened, the root where the rack put it.
TEST(GearProfile, TipShortenedForAPair)
{
    const PairResult pair = Pair(3, 20, 12, 24, 0.6, 0.36);
    GearSpec in;
    in.teeth = 12;
    in.module = 3;
    in.shift = 0.6;
    in.cutter.tipRadius = DefaultToolTipRadius(3);
    const GearProfile full = BuildGearProfile(in, 0.001);
    in.tipShortening = pair.tipShortening;
    const GearProfile shortened = BuildGearProfile(in, 0.001);
    EXPECT_DOUBLE_EQ(full.tipDiameter, 45.6);
    EXPECT_NEAR(shortened.tipDiameter, pair.tipDiameter[0], 1e-12);
    EXPECT_DOUBLE_EQ(shortened.rootDiameter, full.rootDiameter);
    double largest = 0.0;
    for (const OutlinePoint& p : shortened.points)
        largest = std::max(largest, std::hypot(p.x, p.y));
    EXPECT_NEAR(largest, pair.tipDiameter[0] / 2.0, 1e-12);
}

}  // namespace
