// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Parsers for the three input boxes. A text that does not parse raises an
// AppError with the exact message the error box shows.

#include <cstdint>
#include <string>
#include <string_view>

// Optional leading blanks, then an optional sign and decimal digits, or instead
// of a sign "$", "x", "X", "0x" or "0X" and hexadecimal digits. Nothing may
// follow. Failure: "'<text>' は整数ではありません".
std::int32_t ParseInteger(const std::string& text);

// Optional blanks around an optional sign, decimal digits with at most one
// decimal separator, and an optional exponent ("E" or "e", optional sign,
// digits). The result is extended precision; storing it into a double field is
// the caller's step (and may overflow). Failure, also for a value beyond the
// extended range: "'<text>' は浮動小数点数ではありません".
long double ParseFloat(const std::string& text, std::string_view decimalSeparator);
