// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Number texts shown in the boxes and the grid. The decimal separator is the
// user locale's; it is passed in, never taken from a global.

#include <cstdint>
#include <string>
#include <string_view>

// Decimal digits with a leading "-" for negatives.
std::string FormatInteger(std::int32_t value);

// General format: at most `precision` significant digits, trailing zeros and a
// needless separator dropped; scientific notation ("1.5E12", "5E-5") when the
// value has more than `precision` digits before the separator or is below 0.0001.
std::string FormatGeneral(double value, int precision, std::string_view decimalSeparator);

// Fixed format with `decimals` digits after the separator, rounded at the
// coarser of `precision` significant digits and `decimals` decimals; a value
// with more than `precision` digits before the separator falls back to the
// general format with that precision.
std::string FormatFixed(double value, int precision, int decimals, std::string_view decimalSeparator);

// The shortest text that reads back to the same double, "." as the separator
// whatever the locale (files and machine-read output): "-0" for negative zero,
// "inf", "-inf" or "nan" for the values that are not finite.
std::string RoundTripText(double value);
