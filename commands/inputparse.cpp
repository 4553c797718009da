// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/inputparse.h"

#include "base/apperror.h"
#include "base/displaytext.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t SkipBlanks(const std::string& text, std::size_t i)
{
    while (i < text.size() && text[i] == ' ')
        ++i;
    return i;
}

// The conversion below must read "." whatever locale the process runs in.
locale_t ClassicNumericLocale()
{
    static const locale_t locale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// The text as the message quotes it. A NUL would end the message where the
// error box reads it, so each one is shown as the symbol U+2400 "␀"; a
// direction the text sets ends inside the quotes.
std::string Quoted(const std::string& text)
{
    std::string shown;
    for (const char c : text) {
        if (c == '\0')
            shown += "\u2400";
        else
            shown += c;
    }
    std::string quoted = "'";
    quoted += DirectionIsolated(shown);
    quoted += '\'';
    return quoted;
}

} // namespace

std::int32_t ParseInteger(const std::string& text)
{
    const auto fail = [&text]() -> std::int32_t {
        throw AppError(Quoted(text) + " は整数ではありません");
    };
    const std::size_t n = text.size();
    std::size_t i = SkipBlanks(text, 0);
    if (i == n)
        return fail();

    bool hex = false;
    if (text[i] == '$' || text[i] == 'x' || text[i] == 'X') {
        hex = true;
        i += 1;
    } else if (text[i] == '0' && i + 1 < n && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }

    // The digits from i to the end of the text, nothing left over.
    const auto digitsToEnd = [&text, &i](std::uint32_t& value, int base) {
        const char* const last = text.data() + text.size();
        const auto [end, error] = std::from_chars(text.data() + i, last, value, base);
        return error == std::errc() && end == last;
    };

    if (hex) {
        // Eight hex digits are the 32-bit pattern: $FFFFFFFF is -1.
        std::uint32_t pattern = 0;
        if (!digitsToEnd(pattern, 16))
            return fail();
        return static_cast<std::int32_t>(pattern);
    }

    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t magnitude = 0;
    if (!digitsToEnd(magnitude, 10) || magnitude > (negative ? 2147483648u : 2147483647u))
        return fail();
    return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(magnitude) : magnitude);
}

long double ParseFloat(const std::string& text, std::string_view decimalSeparator)
{
    const auto fail = [&text]() -> long double {
        throw AppError(Quoted(text) + " は浮動小数点数ではありません");
    };
    const std::string_view separator = decimalSeparator.empty() ? std::string_view(".") : decimalSeparator;
    const std::size_t n = text.size();
    std::size_t i = SkipBlanks(text, 0);

    // The accepted text rewritten with "." as separator for the C conversion.
    std::string normalised;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        normalised += text[i++];

    int mantissaDigits = 0;
    bool seenSeparator = false;
    while (i < n) {
        if (IsDigit(text[i])) {
            normalised += text[i++];
            ++mantissaDigits;
        } else if (!seenSeparator && text.compare(i, separator.size(), separator) == 0) {
            normalised += '.';
            i += separator.size();
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return fail();

    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        normalised += 'e';
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            normalised += text[i++];
        int exponentDigits = 0;
        while (i < n && IsDigit(text[i])) {
            normalised += text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return fail();
    }

    i = SkipBlanks(text, i);
    if (i != n)
        return fail();

    const long double value = strtold_l(normalised.c_str(), nullptr, ClassicNumericLocale());
    if (std::isinf(value))
        return fail();
    return value;
}
