// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/apperror.h"
#include "geometry/gearmodel.h"
#include "geometry/pair.h"
#include "commands/numbertext.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

namespace {

PairInput Pair(double m, double alpha, std::int32_t z1, std::int32_t z2, double x1, double x2)
{
    PairInput in;
    in.module = m;
    in.pressureAngle = alpha;
    in.teeth = {z1, z2};
    in.shift = {x1, x2};
    return in;
}

std::string Fixed(double v, int decimals) { return FormatFixed(v, 11, decimals, "."); }

// Published pairs, to their published digits, and the inverse back to the shift sum.
TEST(Pair, ReferencePairsAndTheInverse)
{
    struct Case {
        PairInput in;
        const char *alphaW, *a, *tip1, *tip2;
    } const cases[] = {
        {Pair(3, 20, 12, 24, 0.6, 0.36), "26.0886", "56.500", "44.840", "79.400"},
        {Pair(2, 20, 20, 40, 0, 0), "20.0000", "60.000", "44.000", "84.000"},
    };
    for (const Case& c : cases) {
        const PairResult r = ComputePair(c.in);
        EXPECT_EQ(Fixed(r.workingPressureAngle, 4), c.alphaW);
        EXPECT_EQ(Fixed(r.centerDistance, 3), c.a);
        EXPECT_EQ(Fixed(r.tipDiameter[0], 3), c.tip1);
        EXPECT_EQ(Fixed(r.tipDiameter[1], 3), c.tip2);
        EXPECT_TRUE(r.findings.empty());
        EXPECT_NEAR(ShiftSumForCenterDistance(c.in, r.centerDistance), c.in.shift[0] + c.in.shift[1], 1e-9);
        const PairResult back = ComputePairForCenterDistance(c.in, r.centerDistance);
        EXPECT_NEAR(back.centerDistance, r.centerDistance, 1e-12);
        EXPECT_TRUE(back.fromCenterDistance);
    }
}

TEST(Pair, InverseInvoluteToTheLastBits)
{
    for (long double c : {1e-4L, 0.0055448L, 0.0149044L, 0.5L, 10.0L, 1e6L}) {
        const long double phi = InverseInvolute(c);
        EXPECT_NEAR(static_cast<double>((std::tan(phi) - phi) / c), 1.0, 1e-15) << static_cast<double>(c);
    }
    // The published involute of 20 degrees, 0.0149044, to its digits.
    EXPECT_NEAR(static_cast<double>(InverseInvolute(0.0149044L) * 180 / 3.14159265358979323846L), 20.0, 2e-4);
}

// The split favours the smaller gear for a positive sum and spares it for a negative one.
TEST(Pair, ProposedSplit)
{
    const double cases[][5] = {{0.96, 12, 24, 0.64, 0.32}, {-0.9, 10, 20, -0.3, -0.6}, {0.5, 30, 30, 0.25, 0.25}};
    for (const auto& c : cases) {
        const std::array<double, 2> x = SplitShiftSum(c[0], static_cast<std::int32_t>(c[1]), static_cast<std::int32_t>(c[2]));
        EXPECT_DOUBLE_EQ(x[0], c[3]);
        EXPECT_DOUBLE_EQ(x[1], c[4]);
    }
}

TEST(Pair, EachFindingOnce)
{
    struct Case {
        PairInput in;
        std::vector<std::string> findings;
    } const cases[] = {
        {Pair(2, 20, 12, 12, 1.2, 1.2), {"警告：かみあい率εαが1.2未満、かみあいが途切れる"}},
        {Pair(2, 20, 24, 60, -0.4, -0.4), {"警告：歯車２の歯先が歯車１の作用線を越える、干渉発生"}},
        {Pair(2, 20, 13, 13, 0, 0),
         {"警告：歯車１：創成歯形にｱﾝﾀﾞｰｶｯﾄ発生",
          "警告：歯車２：創成歯形にｱﾝﾀﾞｰｶｯﾄ発生"}},
        {Pair(2, 20, 12, 60, 0.9, -0.9), {"警告：歯車１：歯先が尖って交差、歯形不成立"}},
        {Pair(2, 14.5, 40, 40, 0.5, 0.5), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ComputePair(c.in).findings, c.findings) << c.in.teeth[0] << "/" << c.in.teeth[1];
}

TEST(Pair, RefusedPairsNameTheirFault)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        PairInput in;
        double centerDistance;   // NaN: the shifts are given; -NaN: a centre distance that is no number
        const char* message;
    } const cases[] = {
        {Pair(0, 20, 12, 24, 0, 0), nan, "モジュールは正の数でなければなりません"},
        {Pair(1, 20, 12, 0, 0, 0), nan, "歯数Ｚ２は 1 以上でなければなりません"},
        {Pair(1, 20, 12, 24, nan, 0), nan, "転位係数 x1 は有限の数でなければなりません"},
        {Pair(1, 20, 12, 24, -1.5, -1.5), nan, "転位係数の和 x1+x2 が小さすぎて、かみあう中心距離がありません"},
        {Pair(1, 20, 60, 60, -3.0, 2.0), nan, "歯車１の歯先円が基礎円の内側にあり、かみあいません"},
        {Pair(1, 20, 12, 24, 0, 0), 16.9, "中心距離が小さすぎます（両歯車の基礎円半径の和より大きくしてください）"},
        {Pair(1, 20, 12, 24, 0, 0), std::numeric_limits<double>::infinity(), "中心距離が大きすぎて、転位係数の和が求まりません"},
        {Pair(1, 20, 12, 24, 0, 0), -nan, "中心距離が数ではありません"},
    };
    for (const Case& c : cases) {
        try {
            std::isnan(c.centerDistance) && !std::signbit(c.centerDistance)
                ? ComputePair(c.in)
                : ComputePairForCenterDistance(c.in, c.centerDistance);
            ADD_FAILURE() << c.message;
        } catch (const AppError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

// The specific sliding of gear i at its lowest contact from the brief's closed
// form, with the radii and angle the pair reports: g = a sin(alpha_w), the
// mate's tip crossing the line of action sqrt(ra_j^2 - rb_j^2) from T_j.
double ClosedFormSliding(const PairResult& r, int i)
{
    const auto g = static_cast<std::size_t>(i), j = static_cast<std::size_t>(1 - i);
    const double line = r.centerDistance * std::sin(r.workingPressureAngle * std::numbers::pi / 180.0);
    const double ra = r.tipDiameter[j] / 2.0, rb = r.baseDiameter[j] / 2.0;
    const double mate = std::sqrt(ra * ra - rb * rb);
    return 1.0 - (static_cast<double>(r.input.teeth[g]) / r.input.teeth[j]) * (mate / (line - mate));
}

// The same from the motion itself: gear 1 about (0, 0) turning at 1 rad/s, gear
// 2 about (a, 0) at -z1/z2; the contact where the mate's tip circle cuts the
// line of action through the pitch point, nearer this gear's centre; the
// sliding is the difference of the two flanks' speeds along the common
// tangent over this gear's own.
double SlidingFromVelocities(const PairResult& r, int i)
{
    using V = std::array<double, 2>;
    const double a = r.centerDistance, aw = r.workingPressureAngle * std::numbers::pi / 180.0;
    const double z1 = r.input.teeth[0], z2 = r.input.teeth[1];
    const V centre[2] = {{0.0, 0.0}, {a, 0.0}};
    const double omega[2] = {1.0, -z1 / z2};
    const V pitch{a * z1 / (z1 + z2), 0.0};
    const V along{std::sin(aw), std::cos(aw)}, tangent{std::cos(aw), -std::sin(aw)};
    const auto j = static_cast<std::size_t>(1 - i), g = static_cast<std::size_t>(i);
    // |pitch + s along - O_j| = ra_j: s^2 + 2 b s + c = 0.
    const V d{pitch[0] - centre[j][0], pitch[1] - centre[j][1]};
    const double ra = r.tipDiameter[j] / 2.0;
    const double b = d[0] * along[0] + d[1] * along[1], c = d[0] * d[0] + d[1] * d[1] - ra * ra;
    const double roots[2] = {-b - std::sqrt(b * b - c), -b + std::sqrt(b * b - c)};
    // Gear 1's centre lies on the side of negative s, gear 2's of positive s.
    const double s = i == 0 ? roots[0] : roots[1];
    const V p{pitch[0] + s * along[0], pitch[1] + s * along[1]};
    auto speed = [&](std::size_t k, const V& dir) {
        const V v{-omega[k] * (p[1] - centre[k][1]), omega[k] * (p[0] - centre[k][0])};
        return v[0] * dir[0] + v[1] * dir[1];
    };
    // Both flanks move alike along the line of action, or the geometry above is wrong.
    EXPECT_NEAR(speed(0, along), speed(1, along), 1e-9 * a);
    return (speed(g, tangent) - speed(j, tangent)) / speed(g, tangent);
}

// m 3, z 18/45, a 96: the three splits of the one shift sum.
TEST(Pair, SplitsOfACentreDistance)
{
    const PairInput in = Pair(3, 20, 18, 45, 0, 0);
    const double sum = ShiftSumForCenterDistance(in, 96.0);
    // The textbook x_min of the default rack (addendum 1.25 m, tip radius 0.38 m).
    const double alpha = 20.0 * std::numbers::pi / 180.0;
    const double xMin = (1.25 - 0.38 * (1.0 - std::sin(alpha))) - 18.0 * std::sin(alpha) * std::sin(alpha) / 2.0;
    EXPECT_NEAR(GearModel(GearOf(in, 0)).MinShift(), xMin, 1e-15);

    std::array<PairResult, 3> r;
    const ShiftSplit splits[] = {ShiftSplit::Proportional, ShiftSplit::Undercut, ShiftSplit::Sliding};
    for (std::size_t k = 0; k < 3; ++k) {
        r[k] = ComputePairForCenterDistance(in, 96.0, splits[k]);
        EXPECT_NEAR(r[k].input.shift[0] + r[k].input.shift[1], sum, 1e-15) << k;
        EXPECT_NEAR(r[k].shiftSum, sum, 1e-15) << k;
        EXPECT_NEAR(r[k].centerDistance, 96.0, 1e-12) << k;
        EXPECT_TRUE(r[k].fromCenterDistance);
        for (int i = 0; i < 2; ++i) {
            EXPECT_NEAR(r[k].specificSliding[static_cast<std::size_t>(i)], ClosedFormSliding(r[k], i), 1e-9) << k;
            EXPECT_NEAR(r[k].specificSliding[static_cast<std::size_t>(i)], SlidingFromVelocities(r[k], i), 1e-9) << k;
        }
    }
    // Proportional: the split as before, and the default.
    EXPECT_EQ(r[0].input.shift, SplitShiftSum(sum, 18, 45));
    EXPECT_EQ(ComputePairForCenterDistance(in, 96.0).input.shift, r[0].input.shift);
    // Undercut: gear 1 exactly at its limit, the rest to gear 2.
    EXPECT_EQ(r[1].input.shift[0], GearModel(GearOf(in, 0)).MinShift());
    EXPECT_NEAR(r[1].input.shift[0], xMin, 1e-15);
    // Sliding: both roots alike, where the other splits leave them apart.
    EXPECT_NEAR(ClosedFormSliding(r[2], 0), ClosedFormSliding(r[2], 1), 1e-9);
    EXPECT_NEAR(r[2].specificSliding[0], r[2].specificSliding[1], 1e-12);
    EXPECT_GT(r[0].specificSliding[1] - r[0].specificSliding[0], 0.1);
    EXPECT_GT(r[1].specificSliding[1] - r[1].specificSliding[0], 4.0);
    // The balance lies between: gear 1 takes more than its proportional share.
    EXPECT_GT(r[2].input.shift[0], r[0].input.shift[0]);
    EXPECT_LT(r[2].input.shift[0], sum);
}

// A gear's allowance sets its rack deeper, and the undercut split follows it.
TEST(Pair, UndercutSplitWithTheAllowance)
{
    PairInput in = Pair(2, 20, 12, 30, 0, 0);
    in.thicknessAllowance = {-0.1, 0.0};
    const double sum = ShiftSumForCenterDistance(in, 43.0);
    const std::array<double, 2> x = SplitShiftSum(in, sum, ShiftSplit::Undercut);
    const double tanA = std::tan(20.0 * std::numbers::pi / 180.0);
    // x_min + 0.1 / (2 m tan alpha): the thinner tooth's rack stands 0.1 / (2 tan alpha) mm deeper.
    EXPECT_NEAR(x[0], GearModel(GearOf(Pair(2, 20, 12, 30, 0, 0), 0)).MinShift() + 0.1 / (2.0 * 2.0 * tanA), 1e-14);
    EXPECT_EQ(x[1], sum - x[0]);
}

// Hand-computed: m 2, z 20/40, no shift, a 60, alpha_w 20 deg. g = 60 sin 20 deg
// = 20.52121; ra 22 and 42, rb 18.79385 and 39.46708; the tips cross the line
// 11.43639 from T1 and 18.73938 from T2. zeta_1 = 1 - (20/40) 18.73938 /
// (20.52121 - 18.73938) = -4.2585, zeta_2 = 1 - (40/20) 11.43639 / (20.52121 -
// 11.43639) = -1.5177.
TEST(Pair, SpecificSlidingOfAStandardPair)
{
    const PairResult r = ComputePair(Pair(2, 20, 20, 40, 0, 0));
    EXPECT_EQ(Fixed(r.specificSliding[0], 4), "-4.2585");
    EXPECT_EQ(Fixed(r.specificSliding[1], 4), "-1.5177");
    // A pair of equal gears slides alike at both roots.
    const PairResult equal = ComputePair(Pair(1, 20, 25, 25, 0.1, 0.1));
    EXPECT_EQ(equal.specificSliding[0], equal.specificSliding[1]);
    // Contact from beyond the tangent point: no sliding there to give.
    const PairResult past = ComputePair(Pair(1, 20, 10, 10, 0, 0));
    EXPECT_TRUE(std::isnan(past.specificSliding[0]) && std::isnan(past.specificSliding[1]));
    const PairResult one = ComputePair(Pair(2, 20, 24, 60, -0.4, -0.4));   // gear 2's tip past T1 only
    EXPECT_TRUE(std::isnan(one.specificSliding[0]));
    EXPECT_NEAR(one.specificSliding[1], SlidingFromVelocities(one, 1), 1e-9);
}

// Gear 1 keeps its shift, gear 2 takes the rest of the sum the centre distance asks for.
TEST(Pair, GearOneKeepsItsShift)
{
    const PairInput in = Pair(3, 20, 18, 45, 0.2, 0.7);   // gear 2's shift is not read
    const PairResult r = ComputePairForCenterDistanceKeepingShift1(in, 96.0);
    EXPECT_EQ(r.input.shift[0], 0.2);
    EXPECT_EQ(r.input.shift[1], ShiftSumForCenterDistance(in, 96.0) - 0.2);
    EXPECT_NEAR(r.centerDistance, 96.0, 1e-12);
    EXPECT_TRUE(r.fromCenterDistance);
}

TEST(Pair, SplitsRefusedWithTheirReason)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        PairInput in;
        double centerDistance;
        ShiftSplit split;
        bool keep;
        const char* message;
    } const cases[] = {
        // Ten teeth on ten: every split puts a tip past the mate's tangent point.
        {Pair(1, 20, 10, 10, 0, 0), 10.0, ShiftSplit::Sliding, false,
         "すべり率が釣り合う転位係数の配分がありません（どの配分でも歯先が基礎円の内側にあるか、相手の作用線の接点を越えます）"},
        {Pair(1, 20, 12, 24, nan, 0), 18.0, ShiftSplit::Proportional, true, "転位係数 x1 は有限の数でなければなりません"},
        {Pair(1, 20, 12, 24, 0, 0), 16.9, ShiftSplit::Sliding, false,
         "中心距離が小さすぎます（両歯車の基礎円半径の和より大きくしてください）"},
        {Pair(1, 20, 12, 0, 0, 0), 18.0, ShiftSplit::Undercut, false, "歯数Ｚ２は 1 以上でなければなりません"},
    };
    for (const Case& c : cases) {
        try {
            c.keep ? ComputePairForCenterDistanceKeepingShift1(c.in, c.centerDistance)
                   : ComputePairForCenterDistance(c.in, c.centerDistance, c.split);
            ADD_FAILURE() << c.message;
        } catch (const AppError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    // The proportional split of the first still stands, with its interference named.
    const std::vector<std::string> findings = ComputePairForCenterDistance(cases[0].in, 10.0).findings;
    ASSERT_GE(findings.size(), 2u);
    EXPECT_EQ(findings[0], "警告：歯車１の歯先が歯車２の作用線を越える、干渉発生");
    EXPECT_EQ(findings[1], "警告：歯車２の歯先が歯車１の作用線を越える、干渉発生");
}

}  // namespace
