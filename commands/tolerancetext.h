// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts of the accuracy grades, the thickness limits and the backlash,
// shared by the tool windows and the command line.

#include "geometry/accuracy.h"
#include "geometry/backlash.h"
#include "geometry/thicknesslimits.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct AccuracyRow {
    const char* key;      // f_pT, F_pT, ... (JSON)
    const char* label;    // Japanese caption with the symbol
    std::optional<double> micrometres;
};
std::vector<AccuracyRow> AccuracyRows(const AccuracyTolerances& tolerances);

// A tolerance as shown: "9.0 µm" below 10 um (one decimal), "29 µm" above; "―" when absent.
std::string ToleranceValueText(std::optional<double> micrometres, std::string_view decimalSeparator);

struct LimitRow {
    const char* key;      // the inspection key the limits belong to
    std::string label;
    LimitPair limits;
};
std::vector<LimitRow> LimitRows(const ThicknessLimits& limits);

// "lower ～ upper" with 4 decimals; "―（reason）" when a limit has no value.
std::string LimitRangeText(const LimitPair& limits, std::string_view decimalSeparator);

// The lines the command line prints below the inspection numbers; no
// allowance and limit lines without limits (no allowance given).
std::string TolerancesText(const std::optional<AccuracyTolerances>& accuracy, const ThicknessLimits* limits,
                           std::string_view decimalSeparator);

// The backlash rows: label, smallest, largest (3 decimals; the second empty
// for a row of one value), and the values the texts show.
struct BacklashRow {
    const char* key;
    const char* label;
    std::string texts[2];
    double values[2];
};
std::vector<BacklashRow> BacklashRows(const BacklashResult& backlash, std::string_view decimalSeparator);
