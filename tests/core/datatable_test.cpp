// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of the gear data table (要目表), their layout, and the allowance texts.
#include "commands/datatable.h"
#include "base/apperror.h"

#include <gtest/gtest.h>

namespace {

std::string ValueOf(const DataSheet& s, const std::string& group, const std::string& item)
{
    for (const DataSheetRow& r : s.rows)
        if (r.group == group && r.item == item)
            return r.value;
    return "(none)";
}

TEST(DataSheet, RowsOfShiftedGearOverPinsWithMate)
{
    DataSheetInput in;
    in.gear = {3, 12, 0.6, 20};
    in.request.pinDiameter = 5.0;
    in.overPins = true;
    in.allowance = {-0.04, -0.12};
    in.accuracyClass = 8;
    in.mate = DataSheetMate{24, 0.36, {-0.04, -0.12}, {0.02, -0.02}};
    const DataSheet s = BuildDataSheet(in);
    const struct {
        const char* group;
        const char* item;
        const char* value;
    } rows[] = {
        {"歯車歯形", "", "転位"},
        {"転位量", "", "+1.800"},
        {"歯厚", "ピン径", "5.000"},
        {"精度", "", "ISO 1328-1:2013（JIS B 1702-1）8級"},
        {"相手歯車", "転位量", "+1.080"},
        {"中心距離", "", "56.500  +0.020 / -0.020"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(ValueOf(s, r.group, r.item), r.value) << r.group << " " << r.item;
    // The over-pins row carries the deviations of M itself: the limits less the nominal.
    const std::string m = ValueOf(s, "歯厚", "オーバーピン寸法");
    const std::string range = ValueOf(s, "歯厚", "許容範囲");
    EXPECT_EQ(m, "45.007  -0.071 / -0.213");
    EXPECT_EQ(range, "44.795 ～ 44.937");
    EXPECT_EQ(ValueOf(s, "歯厚", "またぎ歯厚"), "(none)");

    // Layout: the title across, 基準ラック's cell joined over its three rows.
    const DataSheetLayout layout = LayoutDataSheet(s);
    EXPECT_EQ(layout.cells[0].text, "平歯車");
    EXPECT_DOUBLE_EQ(layout.cells[0].width, layout.width);
    for (const DataSheetCell& c : layout.cells) {
        if (c.text == "基準ラック") {
            EXPECT_DOUBLE_EQ(c.height, 3 * kDataSheetRowHeight);
        }
    }
    EXPECT_DOUBLE_EQ(layout.height, kDataSheetRowHeight * double(1 + s.rows.size()));
}

// A pin on the edge of the undercut: the thinner tooth's M stays below the thicker one's.
// A ring is named and gets its own centre distance; a rack is named only: neither gets a backlash.
TEST(DataSheet, RingAndRackMatesAreNotExternalGears)
{
    // The ring's centre distance m (z2 - z1) / 2; on a rack the centre's
    // distance d/2 from the reference line. Either backlash: -(A1 + A2) cos 20°.
    const struct {
        MateKind kind;
        const char* centre;
        const char* rackCentre;
    } cases[] = {{MateKind::Internal, "81.000", "(none)"}, {MateKind::Rack, "(none)", "27.000"}};
    for (const auto& c : cases) {
        DataSheetInput in;
        in.gear = {3, 18, 0.0, 20};
        in.allowance = {-0.05, -0.1};
        in.mate = DataSheetMate{72, 0.0, {-0.05, -0.1}, {}, c.kind};
        const DataSheet s = BuildDataSheet(in);
        EXPECT_EQ(ValueOf(s, "相手歯車", "種類"), MateKindCaption(c.kind));
        EXPECT_EQ(ValueOf(s, "中心距離", ""), c.centre);
        EXPECT_EQ(ValueOf(s, "基準線までの距離", ""), c.rackCentre);
        EXPECT_EQ(ValueOf(s, "バックラッシ", "法線方向"), "0.094 ～ 0.188");
    }
}

TEST(DataSheet, OverPinsRangeOfAnUndercutGearIsInOrder)
{
    DataSheetInput in;
    in.gear = {1, 6, -0.5, 20};
    in.request.pinDiameter = 2.0;
    in.overPins = true;
    in.allowance = {-0.02, -0.05};
    const std::string range = ValueOf(BuildDataSheet(in), "歯厚", "許容範囲");
    const std::size_t tilde = range.find(" ～ ");
    ASSERT_NE(tilde, std::string::npos) << range;
    EXPECT_LT(std::stod(range.substr(0, tilde)), std::stod(range.substr(tilde + 5))) << range;
}

TEST(DataSheet, RefusalsAndAllowanceTexts)
{
    DataSheetInput in;
    in.gear = {2, 20, 0, 20};
    in.allowance = {-0.1, -0.05};
    EXPECT_THROW(BuildDataSheet(in), AppError);
    in.allowance = {};
    in.accuracyClass = 0;
    EXPECT_THROW(BuildDataSheet(in), AppError);

    EXPECT_DOUBLE_EQ(ParseAllowancePair("-0.05,-0.1").lower, -0.1);
    for (const char* bad : {"0.1", "1,2,3", ",", "a,1"}) {
        try {
            ParseAllowancePair(bad);
            ADD_FAILURE() << bad;
        } catch (const AppError& e) {
            EXPECT_NE(std::string(e.what()).find("'"), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(DeviationText(-0.0004), "0");
    EXPECT_EQ(DeviationText(0.0469846), "+0.047");
}

}  // namespace
