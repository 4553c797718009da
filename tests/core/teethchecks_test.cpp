// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/credits.h"
#include "commands/teethchecks.h"

#include "geardata/gearrecord.h"
#include "tests/support/globalstate.h"
#include "geometry/dimensions.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

const std::string kZ1Warning = "警告：歯数Ｚ１が小さい、ｱﾝﾀﾞｰｶｯﾄ発生";
const std::string kZ2Warning = "警告：歯数Ｚ２が小さい、ｱﾝﾀﾞｰｶｯﾄ発生";
const std::string kZ1Error = "エラー：歯数Ｚ1が多すぎる、計算不可";
const std::string kZ2Error = "エラー：歯数Ｚ2が多すぎる、計算不可";

TEST(CheckTeethCounts, LinesAndResults)
{
    struct Case {
        std::int32_t teeth, teeth2;
        std::vector<std::string> lines;   // empty: the no-findings block
        int result;
    };
    const Case cases[] = {
        {18, 20, {}, 0},
        {14, 20, {}, 0},
        {70, 20, {}, 0},
        {13, 20, {kZ1Warning}, 1},
        {0, 20, {kZ1Warning}, 1},
        {-2147483647 - 1, 20, {kZ1Warning}, 1},
        {71, 20, {kZ1Error}, 2},
        {2147483647, 20, {kZ1Error}, 2},
        {18, 13, {kZ2Warning}, 1},
        {18, 71, {kZ2Error}, 2},
        {10, 80, {kZ1Warning, kZ2Error}, 2},
        {80, 10, {kZ2Warning, kZ1Error}, 2},
        {5, 5, {kZ1Warning, kZ2Warning}, 1},
        {90, 90, {kZ1Error, kZ2Error}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.teeth << ", " << c.teeth2);
        const TeethCheckResult r = CheckTeethCounts(c.teeth, c.teeth2);
        EXPECT_EQ(r.result, c.result);
        if (c.lines.empty()) {
            ASSERT_EQ(r.lines.size(), 4u);
            EXPECT_EQ(r.lines[3], "エラー＝０、警告＝０");
            EXPECT_NE(r.lines[2].find(HomePageAddress()), std::string::npos);
            EXPECT_NE(r.lines[1].find("@example.org"), std::string::npos);
        } else {
            EXPECT_EQ(r.lines, c.lines);
        }
    }
}

// The gear as the calculate command computes it, then the list it shows.
TEST(CheckComputedGear, ImpossibleThinAndSoundGears)
{
    const std::string crossed = "警告：歯先が尖って交差、歯形不成立", inside = "警告：歯先円が基礎円内、歯形不成立",
                      thin = "警告：歯先歯厚が薄い、０．２５ｍ未満",
                      undercut = "警告：創成歯形にｱﾝﾀﾞｰｶｯﾄ発生";
    struct Case {
        double module;
        std::int32_t teeth;
        double shift;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {1, 20, 2, {crossed}},  {1, 18, -2, {undercut, inside}}, {1, 10, 1.2, {kZ1Warning, crossed}},   // -0.698, NAN, -0.605
        {1, 18, 0.8, {thin}},   {2, 18, 0.85, {thin}},                                        // 0.249, 0.427
        {1, 18, 0, CheckTeethCounts(18, 20).lines}, {1, 13, 0, {kZ1Warning}},                 // 0.682, 0.661
    };
    for (const Case& c : cases) {
        ResetGearTable();
        GearRecord& g = gearTable[kCurrentSlot];
        g.Module = c.module;
        g.Teeth = c.teeth;
        g.Shift = c.shift;
        ComputeGearDimensions();
        const TeethCheckResult r = CheckComputedGear(g);
        EXPECT_EQ(r.lines, c.lines) << c.module << " / " << c.teeth << " / " << c.shift;
        EXPECT_EQ(r.result, c.lines.size() == 4 ? 0 : 1);
    }
    EXPECT_TRUE(TipThicknessFindings(0.25, 1).empty());   // a quarter module is thick enough
    EXPECT_EQ(TipThicknessFindings(std::nextafter(0.25, 0.0), 1), std::vector<std::string>{thin});
    EXPECT_EQ(TipThicknessFindings(-0.0, 1), std::vector<std::string>{crossed});
}

}  // namespace
