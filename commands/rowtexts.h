// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four grid texts of a table row.

#include "geardata/gearrecord.h"

#include <string>
#include <string_view>

struct RowTexts {
    std::string module;   // fixed, precision 6, 3 decimals
    std::string teeth;    // plain integer
    std::string shift;    // fixed, precision 6, 3 decimals
    std::string tip;      // fixed, precision 11, 3 decimals
};

RowTexts FormatRowTexts(const GearRecord& gear, std::string_view decimalSeparator);
