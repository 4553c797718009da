// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/rowtexts.h"

#include "commands/numbertext.h"

RowTexts FormatRowTexts(const GearRecord& gear, std::string_view decimalSeparator)
{
    return {FormatFixed(gear.Module, 6, 3, decimalSeparator), FormatInteger(gear.Teeth),
            FormatFixed(gear.Shift, 6, 3, decimalSeparator), FormatFixed(gear.TipDiameter, 11, 3, decimalSeparator)};
}
