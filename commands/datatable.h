// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gear data table (要目表) a drawing carries beside the view of a spur
// gear, in the Japanese layout: tooth form, basic rack (form, module, pressure
// angle), teeth, reference diameter, shift, whole depth, tooth thickness (span
// or over pins, with the allowances), accuracy and, with a mate, the mate's
// teeth and shift, the centre distance and the backlash. The rows are plain
// texts: the PDF page, the printed page and the DXF layer all draw these.

#include "geometry/accuracy.h"
#include "geometry/backlash.h"
#include "geometry/inspection.h"
#include "geometry/mate.h"
#include "geometry/thicknesslimits.h"

#include <optional>
#include <string>
#include <vector>

// The mate of the gear: another external gear, a ring around it or a rack
// (its pitch and tooth), with its allowance and the centre-distance allowance
// (a rack's: of the distance from the pinion's centre to its reference line):
// the centre distance and the backlash of the pair follow.
struct DataSheetMate {
    std::int32_t teeth = 20;
    double shift = 0.0;
    ThicknessAllowance allowance;          // of the mate's teeth
    ThicknessAllowance centerDistance;     // A_a
    MateKind kind = MateKind::External;
};

struct DataSheetInput {
    // The gear: an external one, or a ring (GearKind::Internal, its mate the
    // pinion in it); with `rack` the rack of a pinion (the gear gives its
    // module and pressure angle, the mate the pinion).
    GearSpec gear;
    bool rack = false;
    ThicknessAllowance allowance;
    InspectionRequest request;             // k, and the pin when measured over pins
    bool overPins = false;                 // オーバーピン寸法 instead of またぎ歯厚
    std::optional<int> accuracyClass;
    std::optional<double> faceWidth;
    std::optional<DataSheetMate> mate;
    // Rows of the user's own below the table's (材料, 熱処理, 備考, ...): name and text.
    std::vector<std::pair<std::string, std::string>> userRows;
    std::string decimalSeparator = ".";    // of the numbers (a drawing's: ".")
};

struct DataSheetRow {
    std::string group;   // 歯車歯形, 基準ラック, 歯厚, ...
    std::string item;    // the sub-item (歯形, モジュール, ...), empty when the group is the item
    std::string value;
};

struct DataSheet {
    std::string title;                  // 平歯車
    std::vector<DataSheetRow> rows;
    std::vector<std::string> notes;     // findings below the table
};

// The table of a gear. Refuses (AppError) what the calculation refuses: a gear
// that cannot be measured, a bad allowance, a pair that cannot mesh.
DataSheet BuildDataSheet(const DataSheetInput& input);

// The table as plain text, one "group<TAB>item<TAB>value" line each, LF.
std::string DataSheetText(const DataSheet& sheet);

// Where each text of the table stands, in mm from the table's top left
// corner (y downwards): the title across the table, then one row per table
// row in three columns (group, item, value), a group's cell joined over its
// rows, and a group without items spanning the item column too.
struct DataSheetCell {
    double x = 0, y = 0, width = 0, height = 0;
    std::string text;
};
struct DataSheetLayout {
    double width = 0, height = 0;
    std::vector<DataSheetCell> cells;
};
inline constexpr double kDataSheetRowHeight = 7.0;      // mm
inline constexpr double kDataSheetTextHeight = 3.2;     // mm
DataSheetLayout LayoutDataSheet(const DataSheet& sheet);

// "UPPER,LOWER" as the command line takes an allowance ("." decimal point).
// Failure: "'<text>' は「上,下」の二つの数ではありません" (or the number's own message).
ThicknessAllowance ParseAllowancePair(const std::string& text);

// A deviation as drawings write it: "+0.050", "-0.047", "0".
std::string DeviationText(double value);
