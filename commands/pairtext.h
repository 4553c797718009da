// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of a pair of gears in mesh, shared by the かみあい window and the
// command line so that both print the same digits: one row per quantity, with
// a value for the pair or one value for each gear.

#include "geometry/internalgear.h"
#include "geometry/internalpair.h"
#include "geometry/mate.h"
#include "geometry/pair.h"
#include "geometry/rackpair.h"

#include <string>
#include <string_view>
#include <utility>
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

// The computed values: shifts and coefficients to 6 decimals, angles and the
// specific sliding at the roots to 4 ("―" where it has no number),
// lengths and the contact ratio to 3.
std::vector<PairRow> PairResultRows(const PairResult& result, std::string_view decimalSeparator);

// How the pair was found: "転位係数から" or "中心距離から".
const char* PairModeText(const PairResult& result);

// The whole report as lines: the mode, the given values, the computed values
// (label, TAB, text, and for a gear's values TAB and gear 2's text), then the
// findings, or "警告＝０" when there are none. Each line ends in `newline`.
std::string PairReportText(const PairResult& result, std::string_view decimalSeparator, std::string_view newline);

// The texts of any mate: the pair of external gears, a pinion in a ring, a
// pinion on a rack.
struct MateReport {
    MateKind mate = MateKind::External;
    std::string title;               // "かみあい（転位係数から）", "かみあい（内歯車、中心距離から）", ...
    const char* mode = "shifts";     // "shifts", "center_distance" (the command line's word)
    std::vector<PairRow> inputs;
    std::vector<PairRow> results;
    std::vector<std::string> findings;
    // The rows without a number (shown "―", null in JSON), key and why.
    std::vector<std::pair<std::string, std::string>> absent;
};

MateReport MateReportOf(const PairResult& result, std::string_view decimalSeparator);
MateReport MateReportOf(const InternalPairResult& result, std::string_view decimalSeparator);
MateReport MateReportOf(const RackPairResult& result, std::string_view decimalSeparator);

// The text of "―" for a value the pair has no number for.
inline constexpr const char* kNoValueText = "―";

// The whole report as PairReportText writes it.
// `laterWarnings` counts the warnings printed after the report (the backlash's): "警告＝０"
// stands only when there are none at all.
std::string MateReportText(const MateReport& report, std::string_view newline, std::size_t laterWarnings = 0);

// The sizes of a ring as one report (title "内歯車"; inputs, then the sizes,
// the cutter, the measurement between pins; its findings).
MateReport InternalGearReport(const GearSpec& ring, const InternalGearSizes& sizes,
                              std::string_view decimalSeparator);
