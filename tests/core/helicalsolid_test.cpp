// SPDX-License-Identifier: GPL-3.0-or-later
// A helical gear's twisted part: closed and oriented with the part's volume
// (a twisted prism holds its section times its height), its top outline the
// bottom one turned by twist b, its layers close enough for the tolerance.
#include "geometry/profile.h"
#include "geometry/solid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <set>
#include <string>

namespace {

constexpr double kTolerance = 0.001;

GearSpec Helical(double mn, int z, double xn, double beta, Hand hand)
{
    GearSpec g{mn, z, xn, 20.0};
    g.helixAngleDegrees = beta;
    g.hand = hand;
    return g;
}

TEST(HelicalSolid, TwistedSurfaceIsClosedAndHoldsTheVolume)
{
    const struct {
        GearSpec gear;
        SolidInput solid;
    } cases[] = {
        {Helical(2, 20, 0, 20, Hand::Right), {15, 0, false, 0, 0}},
        {Helical(2, 20, 0, 20, Hand::Left), {15, 10, true, 0, 0}},
        {Helical(2, 20, 0, 30, Hand::Right), {40, 10, true, 24, 6}},    // a turn of more than one pitch
        {Helical(1, 12, 0, 15, Hand::Left), {4, 0, false, 6, 2}},       // hub without bore
        {Helical(3, 40, 0.5, 45, Hand::Right), {25, 30, true, 60, 15}}, // the groove spans several spaces
    };
    for (const auto& c : cases) {
        const GearProfile profile = BuildGearProfile(c.gear, kTolerance);
        SolidInput solid = c.solid;
        const double d = c.gear.teeth * c.gear.module / std::cos(c.gear.helixAngleDegrees * std::numbers::pi / 180);
        solid.twist = 2 * std::tan(c.gear.helixAngleDegrees * std::numbers::pi / 180) / d *
                      (c.gear.hand == Hand::Left ? -1 : 1);
        const HoleShape hole = CheckSolid(profile, solid, kTolerance);
        const TriangleSurface surface = BuildGearSurface(profile, solid, hole, kTolerance);
        std::map<std::pair<std::uint32_t, std::uint32_t>, int> edges;
        for (const auto& t : surface.triangles)
            for (int k = 0; k < 3; ++k)
                ++edges[{t[k], t[(k + 1) % 3]}];
        int unpaired = 0;
        for (const auto& [edge, count] : edges)
            unpaired += count != 1 || edges.count({edge.second, edge.first}) != 1;
        const std::string what = "z " + std::to_string(c.gear.teeth) + " b " + std::to_string(solid.faceWidth);
        EXPECT_EQ(unpaired, 0) << what;
        const double exact = PartVolume(profile, solid, hole);
        EXPECT_NEAR(SurfaceVolume(surface), exact, 2e-4 * exact) << what;

        // The layers: the turn between two of them keeps the tip corners' helices within the tolerance.
        std::set<double> heights;
        for (const auto& v : surface.vertices)
            if (v[2] <= solid.faceWidth)
                heights.insert(v[2]);
        const double layers = static_cast<double>(heights.size()) - 1;
        const double step = std::fabs(solid.twist) * solid.faceWidth / layers;
        EXPECT_LE(profile.tipDiameter / 2 * (1 - std::cos(step / 2)), kTolerance) << what;
        // The top outline is the bottom one turned by twist b: every profile point turned lies on the top face.
        const double turn = solid.twist * solid.faceWidth;
        std::set<std::pair<long long, long long>> top;
        for (const auto& v : surface.vertices)
            if (v[2] == solid.faceWidth)
                top.insert({std::llround(v[0] * 1e6), std::llround(v[1] * 1e6)});
        int missing = 0;
        for (const OutlinePoint& p : profile.points) {
            const double x = p.x * std::cos(turn) - p.y * std::sin(turn), y = p.x * std::sin(turn) + p.y * std::cos(turn);
            missing += top.count({std::llround(x * 1e6), std::llround(y * 1e6)}) == 0;
        }
        // Points closer than the part's smallest gap are one vertex; nearly all are there.
        EXPECT_LT(missing, static_cast<int>(profile.points.size()) / 100 + 1) << what;
    }
}

}  // namespace
