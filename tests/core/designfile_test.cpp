// SPDX-License-Identifier: GPL-3.0-or-later
// The design file (.tsumugi): what is written is read back whole, keys of a
// later version survive a rewrite, and every bad file is refused by its key.
#include "geardata/designfile.h"
#include "base/apperror.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

PairDesign Designed()
{
    PairDesign d;
    d.module = 3;
    d.mate = MateKind::External;
    d.gears[0] = {18, 0.37744512572, {-0.05, -0.1}, 7, 30.0, {{"材料", "SCM440"}, {"熱処理", "調質"}}, {}};
    d.gears[1] = {45, 0.150978, {-0.06, -0.12}, 7, 28.0, {{"備考", "歯面 \"HRC50\" 以上"}}, {}};
    d.centerDistance = 96.0;
    d.centerDistanceAllowance = {0.02, -0.02};
    return d;
}

TEST(DesignFile, WhatIsWrittenIsReadBackWholeAndLaterKeysSurviveARewrite)
{
    const PairDesign d = Designed();
    const std::string text = DesignFileText(d);
    const PairDesign back = ParseDesignFile(text, "a.tsumugi");
    EXPECT_EQ(DesignFileText(back), text);
    EXPECT_EQ(back.gears[0].shift, 0.37744512572);   // every bit of a solved shift
    EXPECT_EQ(back.gears[1].rows.at(0).second, "歯面 \"HRC50\" 以上");
    ASSERT_TRUE(back.centerDistance.has_value());
    EXPECT_EQ(*back.centerDistance, 96.0);

    // A key of a later minor change, at the top and in a gear, is written again.
    std::string later = text;
    later.insert(later.find("\"module\""), "\"lubricant\": {\"nu40\": 220},\n  ");
    later.insert(later.find("\"teeth\": 45"), "\"hardness\": \"HRC 55\",\n      ");
    const std::string rewritten = DesignFileText(ParseDesignFile(later, "a.tsumugi"));
    EXPECT_NE(rewritten.find("\"lubricant\""), std::string::npos) << rewritten;
    EXPECT_NE(rewritten.find("\"hardness\": \"HRC 55\""), std::string::npos) << rewritten;
    EXPECT_EQ(ParseDesignFile(rewritten, "a.tsumugi").gears[1].teeth, 45);
}

TEST(DesignFile, ABadFileIsRefusedByItsKeyAndNothingOfItIsKept)
{
    const std::string good = DesignFileText(Designed());
    const auto with = [&](const std::string& from, const std::string& to) {
        std::string t = good;
        const std::size_t at = t.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return t.replace(at, from.size(), to);
    };
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {good.substr(0, good.size() / 2), "設計ファイル b.tsumugi は JSON として読めません（"},
        {"[1, 2]", "ファイル b.tsumugi はツムギの設計ファイルではありません（format が \"tsumugi-design\" ではありません）"},
        {with("\"version\": 1", "\"version\": 3"),
         "設計ファイル b.tsumugi は新しい版（version 3）です。この版のツムギが読めるのは version 2 までです"},
        {with("\"version\": 1,", ""), "設計ファイル b.tsumugi の version がありません"},
        {with("\"module\": 3.0", "\"module\": \"3\""), "設計ファイル b.tsumugi の module が数ではありません"},
        {with("\"module\": 3.0", "\"module\": 0"), "設計ファイル b.tsumugi の module が正の数ではありません"},
        {with("\"pressure_angle\": 20.0", "\"pressure_angle\": 25"),
         "設計ファイル b.tsumugi の pressure_angle が 20 でも 14.5 でもありません"},
        {with("\"mate\": \"external\"", "\"mate\": \"worm\""),
         "設計ファイル b.tsumugi の mate が \"external\"、\"internal\"、\"rack\" のどれでもありません"},
        {with("\"teeth\": 45", "\"teeth\": 4.5"), "設計ファイル b.tsumugi の gears[1].teeth が整数ではありません"},
        {with("\"teeth\": 18,", ""), "設計ファイル b.tsumugi の gears[0].teeth がありません"},
        {with("\"accuracy_class\": 7", "\"accuracy_class\": 12"),
         "設計ファイル b.tsumugi の gears[0].accuracy_class が 1 から 11 の間にありません"},
        {with("\"upper\": -0.05", "\"upper\": -0.5"),
         "設計ファイル b.tsumugi の gears[0].thickness_allowance の upper が lower より小さくなっています"},
        {with("\"材料\": \"SCM440\"", "\"材料\": 440"), "設計ファイル b.tsumugi の gears[0].rows.材料 が文字列ではありません"},
        {with("\"center_distance\": 96.0", "\"center_distance\": -96"),
         "設計ファイル b.tsumugi の center_distance が正の数ではありません"},
    };
    for (const auto& c : cases) {
        try {
            ParseDesignFile(c.text, "b.tsumugi");
            ADD_FAILURE() << "taken: " << c.message;
        } catch (const AppError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, std::string(c.message).size()), c.message);
        }
    }
}

TEST(DesignFile, AFileIsWrittenWholeAndReadFromDisk)
{
    const std::string path = ::testing::TempDir() + "design.tsumugi";
    WriteDesignFile(Designed(), path);
    EXPECT_EQ(DesignFileText(ReadDesignFile(path)), DesignFileText(Designed()));
    std::remove(path.c_str());
    EXPECT_THROW(ReadDesignFile(path), AppError);
}

}  // namespace
