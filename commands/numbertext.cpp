// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/numbertext.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace {

constexpr int kDecimalDigits = 18;

// At most 19 digits (18 and a carry), held in place: the texts of a batch
// make millions of them.
class DigitString {
public:
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    char& operator[](std::size_t i) { return m_chars[i]; }
    char operator[](std::size_t i) const { return m_chars[i]; }
    char back() const { return m_chars[m_size - 1]; }
    void push_back(char c) { m_chars[m_size++] = c; }
    void pop_back() { --m_size; }
    void resize(std::size_t n) { m_size = std::min(n, m_size); }   // shortens only
    void push_front(char c)
    {
        std::copy_backward(m_chars.begin(), m_chars.begin() + static_cast<std::ptrdiff_t>(m_size),
                           m_chars.begin() + static_cast<std::ptrdiff_t>(m_size) + 1);
        m_chars[0] = c;
        ++m_size;
    }
    std::string_view view(std::size_t from = 0) const { return {m_chars.data() + from, m_size - from}; }

private:
    std::array<char, 24> m_chars{};
    std::size_t m_size = 0;
};

// A finite non-zero magnitude as decimal digits d0 d1 ... with d0 != 0 and the
// value d0.d1d2... * 10^exponent. Negative numbers keep their sign apart.
struct DecimalDigits {
    bool negative = false;
    DigitString digits;
    int exponent = 0;
};

// The value to 18 significant digits, correctly rounded from the binary
// value: "d.ddd…e±xx" from std::to_chars, whatever the process locale.
DecimalDigits ToDecimal(double value)
{
    char buffer[64];
    // At most 24 characters ("d." and 17 digits, "e-308"): always fits.
    const char* const end =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, kDecimalDigits - 1).ptr;
    DecimalDigits result;
    result.negative = std::signbit(value);
    const char* p = buffer;
    for (; p != end && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            result.digits.push_back(*p);
    }
    if (p != end && *p == 'e') {
        ++p;
        if (p != end && *p == '+')
            ++p;
        std::from_chars(p, end, result.exponent);
    }
    return result;
}

// Rounds half away from zero so that no digit below 10^lowestKept remains.
// Returns false when the magnitude rounds to zero; a carry out of the leading
// digit raises the exponent.
bool RoundAt(DecimalDigits& d, int lowestKept)
{
    const int keep = d.exponent - lowestKept + 1;
    if (keep < 0)
        return false;
    if (keep >= static_cast<int>(d.digits.size()))
        return true;
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else {
            d.digits.push_front('1');
            ++d.exponent;
        }
    }
    if (d.digits.empty())
        return false;
    return true;
}

void DropTrailingZeros(DigitString& digits)
{
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
}

// The digit for 10^power of the rounded number (zero outside the kept digits).
char DigitAt(const DecimalDigits& d, int power)
{
    const int index = d.exponent - power;
    if (index < 0 || index >= static_cast<int>(d.digits.size()))
        return '0';
    return d.digits[static_cast<std::size_t>(index)];
}

bool NonFiniteText(double value, std::string& text)
{
    if (std::isnan(value)) {
        text = "NAN";
        return true;
    }
    if (std::isinf(value)) {
        text = value < 0 ? "-INF" : "INF";
        return true;
    }
    return false;
}

} // namespace

std::string FormatInteger(std::int32_t value)
{
    char buffer[16];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

std::string FormatGeneral(double value, int precision, std::string_view decimalSeparator)
{
    std::string text;
    if (NonFiniteText(value, text))
        return text;
    if (value == 0)
        return "0";
    precision = std::clamp(precision, 1, kDecimalDigits);

    DecimalDigits d = ToDecimal(value);
    RoundAt(d, d.exponent - precision + 1);
    DropTrailingZeros(d.digits);
    const int count = static_cast<int>(d.digits.size());

    if (d.negative)
        text += '-';
    if (d.exponent < precision && d.exponent >= -4) {
        if (d.exponent < 0) {
            text += '0';
            text += decimalSeparator;
            text.append(static_cast<std::size_t>(-d.exponent - 1), '0');
            text += d.digits.view();
        } else {
            for (int power = d.exponent; power >= 0; --power)
                text += DigitAt(d, power);
            if (count > d.exponent + 1) {
                text += decimalSeparator;
                text += d.digits.view(static_cast<std::size_t>(d.exponent + 1));
            }
        }
    } else {
        text += d.digits[0];
        if (count > 1) {
            text += decimalSeparator;
            text += d.digits.view(1);
        }
        text += 'E';
        text += std::to_string(d.exponent);
    }
    return text;
}

std::string FormatFixed(double value, int precision, int decimals, std::string_view decimalSeparator)
{
    std::string text;
    if (NonFiniteText(value, text))
        return text;
    precision = std::clamp(precision, 1, kDecimalDigits);
    decimals = std::max(decimals, 0);

    const auto zeroText = [&] {
        std::string zero = "0";
        if (decimals > 0) {
            zero += decimalSeparator;
            zero.append(static_cast<std::size_t>(decimals), '0');
        }
        return zero;
    };
    if (value == 0)
        return zeroText();

    DecimalDigits d = ToDecimal(value);
    if (!RoundAt(d, std::max(d.exponent - precision + 1, -decimals)))
        return zeroText();
    if (d.exponent + 1 > precision)
        return FormatGeneral(value, precision, decimalSeparator);

    if (d.negative)
        text += '-';
    for (int power = std::max(d.exponent, 0); power >= 0; --power)
        text += DigitAt(d, power);
    if (decimals > 0) {
        text += decimalSeparator;
        for (int power = -1; power >= -decimals; --power)
            text += DigitAt(d, power);
    }
    return text;
}

std::string RoundTripText(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value > 0 ? "inf" : "-inf";
    char buffer[64];   // the longest shortest text of a double is 24 characters
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}
