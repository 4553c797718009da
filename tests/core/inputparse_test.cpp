// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/inputparse.h"

#include "base/apperror.h"
#include "commands/numbertext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

// An entry either parses to `value` or fails with exactly `message`.
struct IntegerCase {
    const char* text;
    std::int32_t value;
    const char* message;
};

void PrintTo(const IntegerCase& c, std::ostream* os)
{
    *os << "'" << c.text << "'";
}

class IntegerText : public testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerText, ParsesOrFails)
{
    const IntegerCase& c = GetParam();
    if (c.message == nullptr) {
        EXPECT_EQ(ParseInteger(c.text), c.value);
        return;
    }
    try {
        const std::int32_t value = ParseInteger(c.text);
        ADD_FAILURE() << "parsed as " << value;
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), c.message);
    }
}

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(Cases, IntegerText, testing::Values(
    IntegerCase{"18", 18, nullptr},
    IntegerCase{"+18", 18, nullptr},
    IntegerCase{"-18", -18, nullptr},
    IntegerCase{" 18", 18, nullptr},
    IntegerCase{"   -18", -18, nullptr},
    IntegerCase{"0", 0, nullptr},
    IntegerCase{"-0", 0, nullptr},
    IntegerCase{"007", 7, nullptr},
    IntegerCase{"2147483647", 2147483647, nullptr},
    IntegerCase{"-2147483648", kMin32, nullptr},
    IntegerCase{"00000000002147483647", 2147483647, nullptr},
    IntegerCase{"0x1F", 31, nullptr},
    IntegerCase{"0X1f", 31, nullptr},
    IntegerCase{"$ff", 255, nullptr},
    IntegerCase{"$FF", 255, nullptr},
    IntegerCase{"x10", 16, nullptr},
    IntegerCase{"X10", 16, nullptr},
    IntegerCase{" $12", 18, nullptr},
    IntegerCase{"$7FFFFFFF", 2147483647, nullptr},
    IntegerCase{"$80000000", kMin32, nullptr},
    IntegerCase{"$FFFFFFFF", -1, nullptr},
    IntegerCase{"0x0000000000FFFFFFFF", -1, nullptr},
    IntegerCase{"", 0, "'' は整数ではありません"},
    IntegerCase{" ", 0, "' ' は整数ではありません"},
    IntegerCase{"18 ", 0, "'18 ' は整数ではありません"},
    IntegerCase{"1 8", 0, "'1 8' は整数ではありません"},
    IntegerCase{"\t18", 0, "'\t18' は整数ではありません"},
    IntegerCase{"18.0", 0, "'18.0' は整数ではありません"},
    IntegerCase{"1e3", 0, "'1e3' は整数ではありません"},
    IntegerCase{"+", 0, "'+' は整数ではありません"},
    IntegerCase{"-", 0, "'-' は整数ではありません"},
    IntegerCase{"--1", 0, "'--1' は整数ではありません"},
    IntegerCase{"- 1", 0, "'- 1' は整数ではありません"},
    IntegerCase{"2147483648", 0, "'2147483648' は整数ではありません"},
    IntegerCase{"-2147483649", 0, "'-2147483649' は整数ではありません"},
    IntegerCase{"99999999999999999999", 0, "'99999999999999999999' は整数ではありません"},
    IntegerCase{"-$10", 0, "'-$10' は整数ではありません"},
    IntegerCase{"+0x10", 0, "'+0x10' は整数ではありません"},
    IntegerCase{"$-1", 0, "'$-1' は整数ではありません"},
    IntegerCase{"$", 0, "'$' は整数ではありません"},
    IntegerCase{"0x", 0, "'0x' は整数ではありません"},
    IntegerCase{"$g", 0, "'$g' は整数ではありません"},
    IntegerCase{"1F", 0, "'1F' は整数ではありません"},
    IntegerCase{"$100000000", 0, "'$100000000' は整数ではありません"},
    IntegerCase{"\xEF\xBC\x91\xEF\xBC\x98", 0, "'\xEF\xBC\x91\xEF\xBC\x98' は整数ではありません"}));

struct FloatCase {
    const char* text;
    const char* separator;
    long double value;
    const char* message;
};

void PrintTo(const FloatCase& c, std::ostream* os)
{
    *os << "'" << c.text << "' sep '" << c.separator << "'";
}

class FloatText : public testing::TestWithParam<FloatCase> {};

TEST_P(FloatText, ParsesOrFails)
{
    const FloatCase& c = GetParam();
    if (c.message == nullptr) {
        const long double value = ParseFloat(c.text, c.separator);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(std::signbit(value), std::signbit(c.value));
        return;
    }
    try {
        const long double value = ParseFloat(c.text, c.separator);
        ADD_FAILURE() << "parsed as " << value;
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, FloatText, testing::Values(
    FloatCase{"1.50", ".", 1.5L, nullptr},
    FloatCase{"18", ".", 18.0L, nullptr},
    FloatCase{"+18", ".", 18.0L, nullptr},
    FloatCase{" 1.5 ", ".", 1.5L, nullptr},
    FloatCase{"   -2.25   ", ".", -2.25L, nullptr},
    FloatCase{"-.5", ".", -0.5L, nullptr},
    FloatCase{"5.", ".", 5.0L, nullptr},
    FloatCase{"-0", ".", -0.0L, nullptr},
    FloatCase{"0.1", ".", 0.1L, nullptr},
    FloatCase{"1e308", ".", 1e308L, nullptr},
    FloatCase{"1E+3", ".", 1000.0L, nullptr},
    FloatCase{"2.5e-3", ".", 2.5e-3L, nullptr},
    FloatCase{"1e4932", ".", 1e4932L, nullptr},
    FloatCase{"1e-4950", ".", 1e-4950L, nullptr},
    FloatCase{"1e-5000", ".", 0.0L, nullptr},
    FloatCase{"0e99999999999999999999", ".", 0.0L, nullptr},
    FloatCase{"1,5", ",", 1.5L, nullptr},
    FloatCase{",5e3", ",", 500.0L, nullptr},
    FloatCase{"1\xD9\xAB" "5", "\xD9\xAB", 1.5L, nullptr},
    FloatCase{"", ".", 0, "'' は浮動小数点数ではありません"},
    FloatCase{" ", ".", 0, "' ' は浮動小数点数ではありません"},
    FloatCase{".", ".", 0, "'.' は浮動小数点数ではありません"},
    FloatCase{"-", ".", 0, "'-' は浮動小数点数ではありません"},
    FloatCase{"--1", ".", 0, "'--1' は浮動小数点数ではありません"},
    FloatCase{"+-1", ".", 0, "'+-1' は浮動小数点数ではありません"},
    FloatCase{"- 1", ".", 0, "'- 1' は浮動小数点数ではありません"},
    FloatCase{"1 5", ".", 0, "'1 5' は浮動小数点数ではありません"},
    FloatCase{"1e", ".", 0, "'1e' は浮動小数点数ではありません"},
    FloatCase{"1e+", ".", 0, "'1e+' は浮動小数点数ではありません"},
    FloatCase{"e5", ".", 0, "'e5' は浮動小数点数ではありません"},
    FloatCase{".e5", ".", 0, "'.e5' は浮動小数点数ではありません"},
    FloatCase{"1e3.5", ".", 0, "'1e3.5' は浮動小数点数ではありません"},
    FloatCase{"1.2.3", ".", 0, "'1.2.3' は浮動小数点数ではありません"},
    FloatCase{"1,000", ".", 0, "'1,000' は浮動小数点数ではありません"},
    FloatCase{"1.5", ",", 0, "'1.5' は浮動小数点数ではありません"},
    FloatCase{"1.5x", ".", 0, "'1.5x' は浮動小数点数ではありません"},
    FloatCase{"INF", ".", 0, "'INF' は浮動小数点数ではありません"},
    FloatCase{"inf", ".", 0, "'inf' は浮動小数点数ではありません"},
    FloatCase{"NAN", ".", 0, "'NAN' は浮動小数点数ではありません"},
    FloatCase{"0x1p3", ".", 0, "'0x1p3' は浮動小数点数ではありません"},
    FloatCase{"\t1.5", ".", 0, "'\t1.5' は浮動小数点数ではありません"},
    FloatCase{"1e4933", ".", 0, "'1e4933' は浮動小数点数ではありません"},
    FloatCase{"1e5000", ".", 0, "'1e5000' は浮動小数点数ではありません"},
    FloatCase{"-1e5000", ".", 0, "'-1e5000' は浮動小数点数ではありません"},
    // A direction mark or a right-to-left letter typed in a box ends inside the quotes.
    FloatCase{"\u200f12", ".", 0, "'\u2068\u200f12\u2069' は浮動小数点数ではありません"},
    FloatCase{"1\u202e5", ".", 0, "'\u20681\u202e5\u2069' は浮動小数点数ではありません"},
    FloatCase{"\u05d0", ".", 0, "'\u2068\u05d0\u2069' は浮動小数点数ではありません"},
    FloatCase{"\u00e912", ".", 0, "'\u00e912' は浮動小数点数ではありません"},
    FloatCase{"\xda\x04M", ".", 0, "'\xda\x04M' は浮動小数点数ではありません"}));   // a stray lead byte

TEST(FloatText, ResultIsExtendedPrecision)
{
    // 0.1 to 64 bits, not the double 0.1 widened
    EXPECT_NE(ParseFloat("0.1", "."), static_cast<long double>(0.1));
    EXPECT_EQ(static_cast<double>(ParseFloat("0.1", ".")), 0.1);
}

TEST(FloatText, ModuleTypedWithTrailingZeroComesBackShort)
{
    EXPECT_EQ(FormatGeneral(static_cast<double>(ParseFloat("1.50", ".")), 11, "."), "1.5");
    EXPECT_EQ(FormatGeneral(static_cast<double>(ParseFloat(" 0,00012 ", ",")), 11, ","), "0,00012");
}

} // namespace
