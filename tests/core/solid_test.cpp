// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/apperror.h"
#include "geometry/profile.h"
#include "geometry/simplepath.h"
#include "geometry/solid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;

constexpr double kTolerance = 0.001;

GearSpec Gear(double m, int z, double x, double allowance = 0.0)
{
    GearSpec in;
    in.module = m;
    in.teeth = z;
    in.shift = x;
    in.cutter.tipRadius = 0.38 * m;
    in.thicknessAllowance = allowance;
    return in;
}

// The arc thickness of tooth 0 on the circle of radius r, where the outline's
// chords cross it.
double ThicknessAt(const GearProfile& p, double r)
{
    double lo = 0.0, hi = 0.0;
    for (std::size_t i = 0; i < p.points.size(); ++i) {
        const OutlinePoint a = p.points[i], b = p.points[(i + 1) % p.points.size()];
        const double ra = std::hypot(a.x, a.y), rb = std::hypot(b.x, b.y);
        if ((ra - r) * (rb - r) > 0.0 || ra == rb)
            continue;
        const double t = (r - ra) / (rb - ra);
        const double angle = std::atan2(a.y + t * (b.y - a.y), a.x + t * (b.x - a.x));
        if (std::fabs(angle) < kPi / p.points.size() * p.pointsPerTooth)
            (angle < 0.0 ? lo : hi) = angle;
    }
    return r * (hi - lo);
}

TEST(KeyTable, RowsOfTheNormalTypeByBore)
{
    const struct {
        double bore;
        double b, h, t2;
    } rows[] = {
        {6, 2, 2, 1.0},     {8, 2, 2, 1.0},     {8.01, 3, 3, 1.4},  {10, 3, 3, 1.4},    {10.5, 4, 4, 1.8},
        {12, 4, 4, 1.8},    {17, 5, 5, 2.3},    {22, 6, 6, 2.8},    {25, 8, 7, 3.3},    {30, 8, 7, 3.3},
        {35, 10, 8, 3.3},   {44, 12, 8, 3.3},   {50, 14, 9, 3.8},   {58, 16, 10, 4.3},  {60, 18, 11, 4.4},
        {70, 20, 12, 4.9},  {80, 22, 14, 5.4},  {90, 25, 14, 5.4},  {100, 28, 16, 6.4}, {120, 32, 18, 7.4},
        {140, 36, 20, 8.4}, {160, 40, 22, 9.4}, {180, 45, 25, 10.4}, {220, 50, 28, 11.4}, {250, 56, 32, 12.4},
        {280, 63, 32, 12.4}, {300, 70, 36, 14.4}, {350, 80, 40, 15.4}, {400, 90, 45, 17.4}, {500, 100, 50, 19.5},
    };
    for (const auto& row : rows) {
        const auto key = KeyForBore(row.bore);
        ASSERT_TRUE(key.has_value()) << row.bore;
        EXPECT_EQ(key->width, row.b) << row.bore;
        EXPECT_EQ(key->height, row.h) << row.bore;
        EXPECT_EQ(key->hubDepth, row.t2) << row.bore;
    }
    for (double outside : {0.0, 5.99, 500.01, std::nan("")})
        EXPECT_FALSE(KeyForBore(outside).has_value()) << outside;
    // The rows join without a gap.
    for (std::size_t i = 1; i < KeyTable().size(); ++i)
        EXPECT_EQ(KeyTable()[i].shaftOver, KeyTable()[i - 1].shaftUpTo);
}

TEST(GearSolid, SurfaceIsClosedOrientedAndHoldsThePartsVolume)
{
    const struct {
        GearSpec gear;
        SolidInput solid;
    } cases[] = {
        {Gear(2, 20, 0), {10, 0, false, 0, 0}},
        {Gear(2, 20, 0), {10, 10, true, 0, 0}},
        {Gear(2, 20, 0, -0.2), {10, 10, true, 24, 6}},
        {Gear(1, 12, 0), {4, 0, false, 6, 2}},           // undercut, hub without bore
        {Gear(3, 40, 0.5), {25, 30, true, 60, 15}},      // the groove spans several tooth spaces
        {Gear(1, 3, 0), {1, 0, false, 0, 0}},
    };
    for (const auto& c : cases) {
        const GearProfile profile = BuildGearProfile(c.gear, kTolerance);
        const HoleShape hole = CheckSolid(profile, c.solid, kTolerance);
        const TriangleSurface surface = BuildGearSurface(profile, c.solid, hole, kTolerance);
        std::map<std::pair<std::uint32_t, std::uint32_t>, int> edges;
        for (const auto& t : surface.triangles)
            for (int k = 0; k < 3; ++k)
                ++edges[{t[k], t[(k + 1) % 3]}];
        int unpaired = 0;
        for (const auto& [edge, count] : edges)
            unpaired += count != 1 || edges.count({edge.second, edge.first}) != 1;
        const std::string what = "z " + std::to_string(c.gear.teeth) + " bore " + std::to_string(c.solid.boreDiameter);
        EXPECT_EQ(unpaired, 0) << what;
        const double exact = PartVolume(profile, c.solid, hole);
        // The circles are polygons within the tolerance.
        EXPECT_NEAR(SurfaceVolume(surface), exact, 1e-4 * exact) << what;
    }
}

TEST(GearSolid, AllowanceThinsTheToothOnTheReferenceCircleAndKeepsTheTip)
{
    const double alpha = 20.0 * kPi / 180.0;
    for (double m : {1.0, 2.0, 5.0}) {
        for (double a : {0.0, -0.05, -0.2, 0.1}) {
            const GearProfile p = BuildGearProfile(Gear(m, 20, 0.2, a), kTolerance);
            const double nominal = m * (kPi / 2 + 2 * 0.2 * std::tan(alpha));
            EXPECT_NEAR(ThicknessAt(p, p.pitchDiameter / 2), nominal + a, 2e-3) << m << " " << a;
            EXPECT_EQ(p.tipDiameter, (20 + 2 + 0.4) * m);
            EXPECT_NEAR(p.rootDiameter, (20 + 2 + 0.4) * m - 4.5 * m + a / std::tan(alpha), 1e-12);
        }
    }
}

TEST(GearSolid, RefusesPartsThatDoNotFit)
{
    const GearProfile p = BuildGearProfile(Gear(2, 20, 0), kTolerance);   // root diameter 35
    const struct {
        SolidInput solid;
        std::string message;
    } cases[] = {
        {{0, 0, false, 0, 0}, "歯幅は 0 より大きく 100000 mm 以下にしてください"},
        {{std::nan(""), 0, false, 0, 0}, "歯幅は 0 より大きく 100000 mm 以下にしてください"},
        {{10, -1, false, 0, 0}, "穴径は 0 以上で、歯底円直径より小さくしてください"},
        {{10, 0, true, 0, 0}, "キー溝は穴径 6 mm 以上 500 mm 以下の穴に付けられます"},
        {{10, 5, true, 0, 0}, "キー溝は穴径 6 mm 以上 500 mm 以下の穴に付けられます"},
        {{10, 30, true, 0, 0}, "穴とキー溝が歯底円に届きます。穴を小さくしてください"},   // 15 + 3.3 > 17.5
        {{10, 10, true, 13, 5}, "ハブの直径は穴とキー溝より大きく、歯底円直径より小さくしてください"},
        {{10, 10, false, 35, 5}, "ハブの直径は穴とキー溝より大きく、歯底円直径より小さくしてください"},
        {{10, 10, false, 20, 0}, "ハブの長さは 0 より大きく 100000 mm 以下にしてください"},
        {{10, 10, false, 0, 5}, "ハブの直径は穴とキー溝より大きく、歯底円直径より小さくしてください"},
        // Sizes below 1/10000 of the part (its tip diameter 44, or its length) meet in an STL's floats.
        {{0.0043, 0, false, 0, 0}, "歯幅 0.0043 mm は部品に対して小さすぎます。部品の最も大きな寸法の 1/10000（許容差より小さくはしない）の 0.0044 mm 以上にしてください"},
        {{10, 0, false, 20, 1e-7}, "ハブの長さ 1e-07 mm は部品に対して小さすぎます。部品の最も大きな寸法の 1/10000（許容差より小さくはしない）の 0.0044 mm 以上にしてください"},
        {{100000, 0, false, 20, 0.001}, "ハブの長さ 0.001 mm は部品に対して小さすぎます。部品の最も大きな寸法の 1/10000（許容差より小さくはしない）の 10.0001 mm 以上にしてください"},
        {{10, 1e-9, false, 0, 0}, "穴径 1e-09 mm は部品に対して小さすぎます。歯先円直径の 1/10000（許容差より小さくはしない）の 0.0044 mm 以上にしてください"},
    };
    for (const auto& c : cases) {
        try {
            CheckSolid(p, c.solid, 0.001);
            ADD_FAILURE() << c.message;
        } catch (const AppError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
    }
    EXPECT_THROW(BuildGearProfile(Gear(2, 20, 0, -2.5), kTolerance), AppError);
    EXPECT_THROW(BuildGearProfile(Gear(2, 20, 0, std::nan("")), kTolerance), AppError);
}

TEST(SimplePath, FindsEveryWayAPathMeetsItself)
{
    const struct {
        const char* name;
        std::vector<OutlinePoint> points;
        bool closed, meets;
    } cases[] = {
        {"square", {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, true, false},
        {"bow tie", {{0, 0}, {1, 1}, {1, 0}, {0, 1}}, true, true},
        {"open bow tie less its closing edge", {{0, 0}, {1, 0}, {0, 1}, {1, 1}}, false, false},
        {"a corner on another edge", {{0, 0}, {2, 0}, {2, 2}, {1, 0}, {0, 2}}, true, true},
        {"a repeated point", {{0, 0}, {1, 0}, {1, 0}, {1, 1}}, true, true},
        {"a long back edge under a small tooth that dips through it",
         {{0, 0}, {100, 0}, {100, 1}, {50.2, 1}, {50.1, -0.001}, {50, 1}, {0, 1}}, true, true},
        {"the same tooth clear of it", {{0, 0}, {100, 0}, {100, 1}, {50.2, 1}, {50.1, 0.001}, {50, 1}, {0, 1}}, true, false},
        {"a point that is not a number", {{0, 0}, {1, 0}, {std::nan(""), 1}}, true, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PathMeetsItself(c.points, c.closed), c.meets) << c.name;
}

}  // namespace
