// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/apperror.h"
#include "geometry/pair.h"
#include "commands/numbertext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
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

}  // namespace
