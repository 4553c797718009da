// SPDX-License-Identifier: GPL-3.0-or-later
// A helical pair in the design file and in the 要目表.
#include "base/apperror.h"
#include "commands/datatable.h"
#include "geardata/designfile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace {

TEST(HelicalDesign, KeysRoundTripAndSpurFileUnchanged)
{
    PairDesign d;
    d.module = 3;
    d.gears[0].teeth = 12;
    d.gears[1].teeth = 60;
    const std::string spur = DesignFileText(d);
    EXPECT_EQ(spur.find("helix_angle"), std::string::npos);
    EXPECT_EQ(spur.find("\"hand\""), std::string::npos);
    d.helixAngle = 30;
    d.gears[0].hand = Hand::Left;
    d.gears[1].hand = Hand::Right;
    const std::string text = DesignFileText(d);
    const PairDesign back = ParseDesignFile(text, "h.tsumugi");
    EXPECT_EQ(back.helixAngle, 30.0);
    EXPECT_EQ(back.gears[0].hand, Hand::Left);
    EXPECT_EQ(back.gears[1].hand, Hand::Right);
    EXPECT_TRUE(back.unknownKeys.empty() && back.gears[0].unknownKeys.empty());
    EXPECT_EQ(DesignFileText(back), text);
    // A spur file's stray "hand" is nobody's: kept as an unknown key and written back.
    std::string stray = spur;
    stray.replace(stray.find("\"shift\""), 0, "\"hand\": \"left\", ");
    const PairDesign kept = ParseDesignFile(stray, "s.tsumugi");
    EXPECT_EQ(kept.helixAngle, 0.0);
    EXPECT_NE(DesignFileText(kept).find("\"hand\": \"left\""), std::string::npos);
}

TEST(HelicalDesign, Refusals)
{
    PairDesign d;
    d.helixAngle = 20;
    const std::string text = DesignFileText(d);
    const struct {
        std::string from, to, message;
    } rows[] = {
        {"\"helix_angle\": 20.0", "\"helix_angle\": 90", "設計ファイル f の helix_angle が 0 以上 90 未満ではありません"},
        {"\"helix_angle\": 20.0", "\"helix_angle\": \"x\"", "設計ファイル f の helix_angle が数ではありません"},
        {"\"hand\": \"right\"", "\"hand\": 1", "設計ファイル f の gears[0].hand が \"right\"、\"left\" のどちらでもありません"},
        {"\"hand\": \"right\",", "", "設計ファイル f の gears[0].hand がありません"},
        {"\"mate\": \"external\"", "\"mate\": \"rack\"", "設計ファイル f の helix_angle は外歯車どうしの組にだけ書けます"},
    };
    for (const auto& row : rows) {
        std::string bad = text;
        bad.replace(bad.find(row.from), row.from.size(), row.to);
        try {
            ParseDesignFile(bad, "f");
            ADD_FAILURE() << row.to;
        } catch (const AppError& e) {
            EXPECT_EQ(std::string(e.what()), row.message) << row.to;
        }
    }
}

// The table of the handbooks' helical pinion (m_n 3, beta 30, z 12, x_n 0.09809, left) with its mate.
TEST(HelicalDataSheet, Rows)
{
    DataSheetInput in;
    in.gear = GearSpec{3, 12, 0.09809, 20.0};
    in.gear.helixAngleDegrees = 30;
    in.gear.hand = Hand::Left;
    in.mate = DataSheetMate{};
    in.mate->teeth = 60;
    in.allowance = {-0.05, -0.1};
    const DataSheet s = BuildDataSheet(in);
    EXPECT_EQ(s.title, "はすば歯車");
    const auto value = [&](const std::string& group, const std::string& item) {
        for (const DataSheetRow& r : s.rows)
            if (r.group == group && r.item == item)
                return r.value;
        return std::string("(none)");
    };
    const double lead = std::numbers::pi * 36 / std::cos(std::numbers::pi / 6) / std::tan(std::numbers::pi / 6);
    char leadText[32];
    std::snprintf(leadText, sizeof leadText, "%.3f", lead);
    EXPECT_EQ(value("ねじれ角", ""), "30°");
    EXPECT_EQ(value("ねじれ方向", ""), "左");
    EXPECT_EQ(value("歯直角方式", ""), "歯直角");
    EXPECT_EQ(value("リード", ""), leadText);
    EXPECT_EQ(value("基準ラック", "モジュール"), "3");
    EXPECT_EQ(value("基準ピッチ円直径", ""), "41.569");
    EXPECT_EQ(value("歯先円直径", ""), "48.154");   // the pair's shortened tip (the handbooks')
    EXPECT_EQ(value("中心距離", ""), "125.000");
    EXPECT_NE(value("歯厚", "歯直角またぎ歯厚").find("-0.047 / -0.094"), std::string::npos);
    // Given in the transverse system, the same gear's table names that section.
    in.gear = TransverseSystemOf(in.gear);
    EXPECT_EQ(BuildDataSheet(in).rows[1].value, "正面");
}

}  // namespace
