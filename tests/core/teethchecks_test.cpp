#include "ui/logic/teethchecks.h"

#include "geardata/gearrecord.h"
#include "geometry/dimensions.h"

#include <algorithm>
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

const std::string kCrossed = "警告：歯先が尖って交差、歯形不成立";
const std::string kInsideBase = "警告：歯先円が基礎円内、歯形不成立";
const std::string kThin = "警告：歯先歯厚が薄い、０．２５ｍ未満";

// The gear as the calculate command computes it, then the list it shows.
TEST(CheckComputedGear, ImpossibleAndThinGears)
{
    struct Case {
        double module;
        std::int32_t teeth;
        double shift;
        std::vector<std::string> lines;   // empty: the no-findings block, unchanged
        int result;
    };
    const Case cases[] = {
        {1, 20, 2, {kCrossed}, 1},                  // tip thickness -0.698
        {1, 18, -2, {kInsideBase}, 1},              // NAN
        {1, 10, 1.2, {kZ1Warning, kCrossed}, 1},    // -0.605 after the undercut warning
        {1, 18, 0.8, {kThin}, 1},                   // 0.249 < 0.25
        {2, 18, 0.85, {kThin}, 1},                  // 0.427 < 0.5
        {1, 18, 0.0, {}, 0},                        // 0.682
        {1, 30, 1.0, {}, 0},                        // 0.358
        {1, 13, 0.0, {kZ1Warning}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.module << " / " << c.teeth << " / " << c.shift);
        ResetGearTable();
        GearRecord& g = gearTable[kCurrentSlot];
        g.Module = c.module;
        g.Teeth = c.teeth;
        g.Shift = c.shift;
        ComputeGearDimensions();
        const TeethCheckResult r = CheckComputedGear(g.Teeth, g.Teeth2, g.TipThickness, g.Module);
        EXPECT_EQ(r.result, c.result);
        EXPECT_EQ(r.lines, c.lines.empty() ? CheckTeethCounts(c.teeth, 20).lines : c.lines);
        EXPECT_EQ(std::find(r.lines.begin(), r.lines.end(), "エラー＝０、警告＝０") == r.lines.end(),
                  !c.lines.empty());
    }
}

TEST(TipThicknessFindings, Boundaries)
{
    struct Case {
        double thickness, module;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {0.25, 1, {}},     {std::nextafter(0.25, 0.0), 1, {kThin}}, {1e-300, 1, {kThin}},
        {0.0, 1, {kCrossed}}, {-0.0, 1, {kCrossed}},  {-1e-300, 1, {kCrossed}},
        {std::nan(""), 1, {kInsideBase}}, {0.5, 2, {}}, {0.4999, 2, {kThin}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TipThicknessFindings(c.thickness, c.module), c.lines) << c.thickness << " " << c.module;
}

}  // namespace
