// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The inspection numbers as lines of label and text: the inspection window's
// boxes, its copied text and the command line's text output all come from here.

#include "geometry/inspection.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class InspectionRowKind { Length, Count, YesNo };

// One value of a result under its ASCII key (for JSON and CSV): the value when
// it has one, else the reason it has none. It refers into the result it was
// read from, which must outlive it.
struct InspectionValue {
    const char* key;
    InspectionRowKind kind;
    const Measure& measure;
};

inline constexpr std::size_t kInspectionValueCount = 17;
using InspectionValues = std::array<InspectionValue, kInspectionValueCount>;

// Always the same keys in the same order, whatever is absent.
InspectionValues InspectionValuesOf(const InspectionResult& result);

// One line: the key, the Japanese label with its symbol, and the value as in
// InspectionValuesOf (referring into the result).
struct InspectionRow {
    const char* key;
    std::string label;
    InspectionRowKind kind;
    const Measure& measure;
};

// The values of InspectionValuesOf with their labels.
std::vector<InspectionRow> InspectionRows(const GearSpec& gear, const InspectionResult& result);

// A value as the window shows it: 4 decimals with the user's separator, a
// count as an integer, あり / なし; an absent value as "―".
std::string InspectionValueText(const InspectionRow& row, std::string_view decimalSeparator);

// Mentions the reason beside the text of an absent value: "―（reason）".
std::string InspectionCellText(const InspectionRow& row, std::string_view decimalSeparator);

// The findings below the values: the generated tooth's findings in their one
// text each, and, where the calculation's tooth-count rule warns of an undercut
// the shift avoids, why none is reported here.
std::vector<std::string> InspectionFindings(const GearSpec& gear, const InspectionResult& result,
                                            std::string_view decimalSeparator = ".");

// When the main window's tip-thickness box (the 20-degree search, 3 decimals)
// shows another number than the exact value here, a line that says which is
// which; empty when they agree.
std::string TipThicknessNote(const InspectionResult& result, double boxTipThickness, std::string_view decimalSeparator);

// Everything as plain text, one "label<TAB>value" line each, for the clipboard
// and the command line.
std::string InspectionText(const GearSpec& gear, const InspectionResult& result,
                           std::string_view decimalSeparator);
