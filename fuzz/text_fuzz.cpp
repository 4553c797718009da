// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the input box parsers and the number texts. The bytes are the
// text typed into a box (parsed as the teeth box and as the module and shift
// boxes, with "." and "," as decimal separator); their first eight bytes are
// also a double that the boxes and the grid format.
//
// Checks, besides the sanitizers: a parser returns or raises an AppError with
// exactly its conversion message; it accepts exactly the texts of the input
// grammar (written here as regular expressions, with the ranges worked out
// from the digits) and gives their value; number texts follow their grammar,
// carry at most the allowed digits, read back through the parser to the value
// rounded as the format says, and format again to the same text.

#include "base/apperror.h"
#include "geometry/extended.h"
#include "commands/inputparse.h"
#include "commands/numbertext.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& text)
{
    std::string shown;
    for (unsigned char c : text) {
        char hex[5];
        std::snprintf(hex, sizeof hex, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02X", c);
        shown += hex;
    }
    std::fprintf(stderr, "text_fuzz: %s: \"%s\"\n", what.c_str(), shown.c_str());
    std::abort();
}

// Regular expressions are compiled once per source text.
const std::regex& Pattern(const std::string& source)
{
    static std::map<std::string, std::regex> cache;
    auto it = cache.find(source);
    if (it == cache.end())
        it = cache.emplace(source, std::regex(source)).first;
    return it->second;
}

std::string Escaped(std::string_view separator)
{
    std::string out;
    for (char c : separator) {
        if (std::strchr(".^$|()[]{}*+?\\", c) != nullptr)
            out += '\\';
        out += c;
    }
    return out;
}

// --- parsers ---------------------------------------------------------------------

// The message of a refused text: the whole text quoted, each NUL byte shown
// as the symbol U+2400, so that nothing of it is lost in the error's C string;
// a text that sets a direction may stand between U+2068 and U+2069.
bool IsConversionMessage(const AppError& error, const std::string& text, const char* tail)
{
    std::string shown;
    for (const char c : text)
        shown += c == '\0' ? std::string("\u2400") : std::string(1, c);
    const std::string message = error.what();
    return message == "'" + shown + "' " + tail || message == "'\u2068" + shown + "\u2069' " + tail;
}

std::optional<std::int32_t> TryInteger(const std::string& text)
{
    try {
        return ParseInteger(text);
    } catch (const AppError& e) {
        if (!IsConversionMessage(e, text, "は整数ではありません"))
            Fail(std::string("wrong integer message ") + e.what(), text);
        return std::nullopt;
    }
}

std::optional<long double> TryFloat(const std::string& text, std::string_view separator)
{
    try {
        const long double v = ParseFloat(text, separator);
        if (!std::isfinite(v))
            Fail("a parsed value that is not finite", text);
        return v;
    } catch (const AppError& e) {
        if (!IsConversionMessage(e, text, "は浮動小数点数ではありません"))
            Fail(std::string("wrong floating-point message ") + e.what(), text);
        return std::nullopt;
    }
}

std::string StripLeadingZeros(const std::string& digits)
{
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string() : digits.substr(first);
}

// Blanks, then a sign and decimal digits, or "$", "x", "X", "0x", "0X" and
// hexadecimal digits; nothing after. Decimal values from -2147483648 to
// 2147483647; hexadecimal ones up to eight significant digits, read as the
// 32-bit pattern.
std::optional<std::int32_t> ExpectedInteger(const std::string& text)
{
    const std::regex& decimal = Pattern("^ *([+-]?)([0-9]+)$");
    const std::regex& hex = Pattern("^ *(\\$|x|X|0x|0X)([0-9A-Fa-f]+)$");
    std::smatch m;
    if (std::regex_match(text, m, decimal)) {
        const std::string digits = StripLeadingZeros(m[2].str());
        if (digits.size() > 10)
            return std::nullopt;
        const long long magnitude = digits.empty() ? 0 : std::stoll(digits);
        const long long value = m[1].str() == "-" ? -magnitude : magnitude;
        if (value < -2147483648LL || value > 2147483647LL)
            return std::nullopt;
        return static_cast<std::int32_t>(value);
    }
    if (std::regex_match(text, m, hex)) {
        const std::string digits = StripLeadingZeros(m[2].str());
        if (digits.size() > 8)
            return std::nullopt;
        const unsigned long pattern = digits.empty() ? 0 : std::stoul(digits, nullptr, 16);
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(pattern));
    }
    return std::nullopt;
}

void CheckInteger(const std::string& text)
{
    const std::optional<std::int32_t> got = TryInteger(text);
    const std::optional<std::int32_t> expected = ExpectedInteger(text);
    if (got != expected)
        Fail(got ? "an integer accepted against the grammar or with the wrong value" : "a good integer refused", text);
    if (got) {
        if (TryInteger(FormatInteger(*got)) != got)
            Fail("the integer text does not read back", text);
        if (TryInteger(text + " "))
            Fail("an integer with a trailing blank accepted", text);
    }
    if (TryInteger(" " + text) != got)
        Fail("a leading blank changes the integer", text);
}

// Where the grammar of the floating-point boxes matches: the decimal exponent
// of the leading non-zero digit, or nothing for a zero mantissa.
struct FloatShape {
    bool matches = false;
    std::optional<long long> leadingExponent;
};

FloatShape ShapeOf(const std::string& text, std::string_view separator)
{
    const std::string sep = Escaped(separator);
    const std::regex& grammar = Pattern("^ *[+-]?(([0-9]+)(" + sep + "([0-9]*))?|" + sep + "([0-9]+))([Ee]([+-]?)([0-9]+))? *$");
    std::smatch m;
    FloatShape shape;
    if (!std::regex_match(text, m, grammar))
        return shape;
    shape.matches = true;
    const std::string integer = StripLeadingZeros(m[2].str());
    const std::string fraction = m[4].matched ? m[4].str() : m[5].str();
    long long exponent = 0;
    if (m[6].matched) {
        // Saturates far beyond any exponent that matters.
        const std::string digits = StripLeadingZeros(m[8].str());
        exponent = digits.size() > 12 ? 1000000000000LL : (digits.empty() ? 0 : std::stoll(digits));
        if (m[7].str() == "-")
            exponent = -exponent;
    }
    if (!integer.empty()) {
        shape.leadingExponent = static_cast<long long>(integer.size()) - 1 + exponent;
    } else {
        const std::size_t first = fraction.find_first_not_of('0');
        if (first != std::string::npos)
            shape.leadingExponent = -static_cast<long long>(first) - 1 + exponent;
    }
    return shape;
}

// A plain run of at most 18 digits with an optional sign has an exact value.
std::optional<long double> ExactSmallInteger(const std::string& text)
{
    const std::regex& plain = Pattern("^ *([+-]?)([0-9]{1,18}) *$");
    std::smatch m;
    if (!std::regex_match(text, m, plain))
        return std::nullopt;
    const long double magnitude = static_cast<long double>(std::stoull(m[2].str()));
    return m[1].str() == "-" ? -magnitude : magnitude;
}

std::string Swapped(std::string text)
{
    for (char& c : text)
        c = c == '.' ? ',' : c == ',' ? '.' : c;
    return text;
}

bool SameValue(const std::optional<long double>& a, const std::optional<long double>& b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a || std::memcmp(&*a, &*b, 10) == 0;   // the 80 significant bits, sign of zero included
}

std::optional<long double> CheckFloat(const std::string& text, std::string_view separator)
{
    const std::optional<long double> got = TryFloat(text, separator);
    const FloatShape shape = ShapeOf(text, separator);
    // The largest extended value is about 1.19e4932.
    const bool tooLarge = shape.leadingExponent && *shape.leadingExponent >= 4933;
    const bool mayBeTooLarge = shape.leadingExponent && *shape.leadingExponent == 4932;
    if (got && (!shape.matches || tooLarge))
        Fail("a floating-point text accepted against the grammar or beyond the range", text);
    if (!got && shape.matches && !tooLarge && !mayBeTooLarge)
        Fail("a good floating-point text refused", text);
    if (got && !shape.leadingExponent && *got != 0)
        Fail("a zero mantissa read as a non-zero value", text);
    if (const auto exact = ExactSmallInteger(text); exact && (!got || *got != *exact))
        Fail("a plain integer read as another value", text);
    if (!SameValue(TryFloat(" " + text, separator), got) || !SameValue(TryFloat(text + " ", separator), got))
        Fail("a blank around the text changes the value", text);
    return got;
}

// --- number texts ------------------------------------------------------------------

int DecimalExponent(double v)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17e", std::fabs(v));
    return std::atoi(std::strchr(buffer, 'e') + 1);
}

// Half a unit of the digit at 10^power: the largest error of a rounding there.
long double HalfUnit(int power)
{
    return 0.5L * std::pow(10.0L, static_cast<long double>(power));
}

int SignificantDigits(std::string digits)
{
    digits = StripLeadingZeros(digits);
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    return static_cast<int>(digits.size());
}

bool NonFinite(double v, const std::string& text, const char* what)
{
    if (std::isnan(v)) {
        if (text != "NAN")
            Fail(std::string(what) + " of a NaN", text);
        return true;
    }
    if (std::isinf(v)) {
        if (text != (v < 0 ? "-INF" : "INF"))
            Fail(std::string(what) + " of an infinity", text);
        return true;
    }
    return false;
}

// Reads a number text back and checks it lies within `halfUnit` of v (plus the
// error of the 18 digits the formats start from).
long double ReadBack(const std::string& text, std::string_view separator, double v, long double halfUnit)
{
    const std::optional<long double> w = TryFloat(text, separator);
    if (!w)
        Fail("a number text that the box parser refuses", text);
    const long double error = std::fabs(*w - static_cast<long double>(v));
    if (error > halfUnit * (1 + 1e-9L) + std::fabs(static_cast<long double>(v)) * 1e-17L)
        Fail("a number text too far from its value", text);
    return *w;
}

// Formats the value read back from a text once more; for normal doubles the
// text must come back unchanged (a value beyond the double range cannot).
template <typename Format>
void CheckStable(const std::string& text, long double w, double v, Format format)
{
    if (std::fabs(v) < DBL_MIN && v != 0)
        return;
    if (std::fabs(w) > static_cast<long double>(DBL_MAX))
        return;
    if (format(Store(w)) != text)
        Fail("a number text that does not format to itself again", text);
}

void CheckGeneral(double v, int precision, std::string_view separator)
{
    const std::string text = FormatGeneral(v, precision, separator);
    if (NonFinite(v, text, "general format"))
        return;
    if (v == 0) {
        if (text != "0")
            Fail("general format of zero", text);
        return;
    }
    const std::string sep = Escaped(separator);
    static const std::string kDigits = "[0-9]*[1-9]";
    const std::regex& fixedSmall = Pattern("^-?0" + sep + "0*[1-9]([0-9]*[1-9])?$");
    const std::regex& fixedLarge = Pattern("^-?[1-9][0-9]*(" + sep + kDigits + ")?$");
    const std::regex& scientific = Pattern("^-?[1-9](" + sep + kDigits + ")?E-?[1-9][0-9]*$");
    const bool fixed = std::regex_match(text, fixedSmall) || std::regex_match(text, fixedLarge);
    if (!fixed && !std::regex_match(text, scientific))
        Fail("general format off its grammar", text);
    if ((text[0] == '-') != (v < 0))
        Fail("general format with the wrong sign", text);

    const std::string mantissa = text.substr(0, text.find('E'));
    std::string digits;
    for (char c : mantissa)
        if (c >= '0' && c <= '9')
            digits += c;
    if (SignificantDigits(digits) > precision)
        Fail("general format with too many digits", text);

    const long double w = ReadBack(text, separator, v, HalfUnit(DecimalExponent(v) - precision + 1));
    const long double magnitude = std::fabs(w);
    const long double upper = std::pow(10.0L, static_cast<long double>(precision));
    if (fixed != (magnitude >= 1e-4L && magnitude < upper))
        Fail("general format picks the wrong notation", text);
    CheckStable(text, w, v, [&](double u) { return FormatGeneral(u, precision, separator); });
}

void CheckFixed(double v, int precision, std::string_view separator)
{
    const std::string text = FormatFixed(v, precision, 3, separator);
    if (NonFinite(v, text, "fixed format"))
        return;
    const long double upper = std::pow(10.0L, static_cast<long double>(precision));
    if (text.find('E') != std::string::npos) {
        // More than `precision` digits before the separator: the general format.
        if (text != FormatGeneral(v, precision, separator))
            Fail("fixed format falls back to something else than the general format", text);
        const long double w = ReadBack(text, separator, v, HalfUnit(DecimalExponent(v) - precision + 1));
        if (std::fabs(w) < upper)
            Fail("fixed format falls back for a value with few digits", text);
        return;
    }
    const std::regex& grammar = Pattern("^-?(0|[1-9][0-9]*)" + Escaped(separator) + "[0-9]{3}$");
    if (!std::regex_match(text, grammar))
        Fail("fixed format off its grammar", text);
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    const bool zero = SignificantDigits(digits) == 0;
    if (zero ? text[0] == '-' : (text[0] == '-') != (v < 0))
        Fail("fixed format with the wrong sign", text);
    const std::size_t integerDigits = digits.size() - 3;
    if (integerDigits > static_cast<std::size_t>(precision) || SignificantDigits(digits) > precision)
        Fail("fixed format with too many digits", text);

    const int coarsest = std::max(DecimalExponent(v) - precision + 1, -3);
    const long double w = ReadBack(text, separator, v, HalfUnit(coarsest));
    if (std::fabs(w) >= upper)
        Fail("fixed format keeps more digits than its precision before the separator", text);
    CheckStable(text, w, v, [&](double u) { return FormatFixed(u, precision, 3, separator); });
}

void CheckNumberTexts(double v)
{
    for (std::string_view separator : {".", ",", "\u066B"}) {
        CheckGeneral(v, 11, separator);
        CheckGeneral(v, 6, separator);
        CheckFixed(v, 11, separator);
        CheckFixed(v, 6, separator);
    }
}

void CheckIntegerText(std::int32_t v)
{
    const std::string text = FormatInteger(v);
    if (!std::regex_match(text, Pattern("^-?(0|[1-9][0-9]*)$")) || (text[0] == '-') != (v < 0))
        Fail("integer text off its grammar", text);
    if (TryInteger(text) != v)
        Fail("an integer text that does not read back", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    CheckInteger(text);
    const std::optional<long double> point = CheckFloat(text, ".");
    const std::optional<long double> comma = CheckFloat(text, ",");
    if (!SameValue(point, TryFloat(Swapped(text), ",")) || !SameValue(comma, TryFloat(Swapped(text), ".")))
        Fail("the two separators read the same text differently", text);

    // The value as the module and shift boxes store it, shown again.
    for (const std::optional<long double>& parsed : {point, comma}) {
        if (!parsed)
            continue;
        try {
            CheckNumberTexts(Store(*parsed));
        } catch (const FloatFault& fault) {
            if (fault.kind() != FloatFaultKind::Overflow || std::fabs(*parsed) <= static_cast<long double>(DBL_MAX))
                Fail("storing a parsed value raised the wrong fault", text);
        }
    }

    if (size >= sizeof(std::int32_t)) {
        std::int32_t i;
        std::memcpy(&i, data, sizeof i);
        CheckIntegerText(i);
    }
    if (size >= sizeof(double)) {
        double v;
        std::memcpy(&v, data, sizeof v);
        CheckNumberTexts(v);
    }
    return 0;
}
