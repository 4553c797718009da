#include "ui/logic/teethchecks.h"

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

}  // namespace
