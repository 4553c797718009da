// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of a pair of gears in mesh, shared by the かみあい window and the
// command line so that both print the same digits: one row per quantity, with
// a value for the pair or one value for each gear.

#include "geometry/pair.h"

#include <string>
#include <string_view>
#include <vector>

struct PairRow {
    const char* key;      // ASCII name (the command line's JSON and CSV, the window's object names)
    const char* label;    // Japanese caption
    bool perGear;         // true: texts[0] is gear 1 and texts[1] gear 2; false: texts[0] only
    std::string texts[2];
    double values[2];     // the numbers the texts show, unrounded
    bool integer;         // the values are counts (the teeth)
};

// The given values (module, pressure angle, teeth), in the general format.
std::vector<PairRow> PairInputRows(const PairResult& result, std::string_view decimalSeparator);

// The computed values: shifts and coefficients to 6 decimals, angles to 4,
// lengths and the contact ratio to 3.
std::vector<PairRow> PairResultRows(const PairResult& result, std::string_view decimalSeparator);

// How the pair was found: "転位係数から" or "中心距離から".
const char* PairModeText(const PairResult& result);

// The whole report as lines: the mode, the given values, the computed values
// (label, TAB, text, and for a gear's values TAB and gear 2's text), then the
// findings, or "警告＝０" when there are none. Each line ends in `newline`.
std::string PairReportText(const PairResult& result, std::string_view decimalSeparator, std::string_view newline);
