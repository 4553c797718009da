// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/numbertext.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct FormatCase {
    double value;
    int precision;
    const char* separator;
    const char* expected;
};

void PrintTo(const FormatCase& c, std::ostream* os)
{
    *os << std::hexfloat << c.value << " p=" << c.precision << " sep='" << c.separator << "'";
}

class GeneralFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(GeneralFormat, Text)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatGeneral(c.value, c.precision, c.separator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, GeneralFormat, testing::Values(
    // zero and the input boxes' usual values
    FormatCase{0.0, 11, ".", "0"},
    FormatCase{-0.0, 11, ".", "0"},
    FormatCase{1.0, 11, ".", "1"},
    FormatCase{18.0, 11, ".", "18"},
    FormatCase{1.5, 11, ".", "1.5"},
    FormatCase{-1.5, 11, ".", "-1.5"},
    FormatCase{0.1, 11, ".", "0.1"},
    FormatCase{-0.25, 11, ".", "-0.25"},
    // eleven significant digits, half away from zero
    FormatCase{1.0 / 3.0, 11, ".", "0.33333333333"},
    FormatCase{2.0 / 3.0, 11, ".", "0.66666666667"},
    FormatCase{-2.0 / 3.0, 11, ".", "-0.66666666667"},
    FormatCase{3.14159265358979, 11, ".", "3.1415926536"},
    FormatCase{0.125, 2, ".", "0.13"},
    FormatCase{-0.125, 2, ".", "-0.13"},
    FormatCase{2.5, 1, ".", "3"},
    FormatCase{-2.5, 1, ".", "-3"},
    FormatCase{3.5, 1, ".", "4"},
    FormatCase{123456789015.0, 11, ".", "1.2345678902E11"},
    // the 18-digit text decides: 1.00000000265 is stored just below the tie,
    // its 18-digit text is the tie itself; 1.0005 stays below at 18 digits
    FormatCase{1.00000000265, 11, ".", "1.0000000027"},
    FormatCase{1.0005, 4, ".", "1"},
    // lower end of fixed notation
    FormatCase{0.0001, 11, ".", "0.0001"},
    FormatCase{0.00012, 11, ".", "0.00012"},
    FormatCase{-0.00012, 11, ".", "-0.00012"},
    FormatCase{0.000099999999999, 11, ".", "9.9999999999E-5"},
    FormatCase{0.0000999999999999, 11, ".", "0.0001"},
    FormatCase{0.00005, 11, ".", "5E-5"},
    FormatCase{-0.00005, 11, ".", "-5E-5"},
    FormatCase{0.0000123456, 11, ".", "1.23456E-5"},
    FormatCase{1e-300, 11, ".", "1E-300"},
    FormatCase{5e-324, 11, ".", "4.9406564584E-324"},
    // upper end of fixed notation
    FormatCase{99999999999.0, 11, ".", "99999999999"},
    FormatCase{-99999999999.0, 11, ".", "-99999999999"},
    FormatCase{12345678901.25, 11, ".", "12345678901"},
    FormatCase{99999999999.5, 11, ".", "1E11"},
    FormatCase{1e11, 11, ".", "1E11"},
    FormatCase{123456789012.0, 11, ".", "1.2345678901E11"},
    FormatCase{1.5e12, 11, ".", "1.5E12"},
    FormatCase{-1.5e12, 11, ".", "-1.5E12"},
    FormatCase{1e22, 11, ".", "1E22"},
    FormatCase{1.7976931348623157e308, 11, ".", "1.7976931349E308"},
    FormatCase{999999.0, 6, ".", "999999"},
    FormatCase{999999.6, 6, ".", "1E6"},
    FormatCase{1234567.8, 6, ".", "1.23457E6"},
    // separators
    FormatCase{1.5, 11, ",", "1,5"},
    FormatCase{0.00012, 11, ",", "0,00012"},
    FormatCase{1.25e-5, 11, ",", "1,25E-5"},
    FormatCase{0.25, 11, "\xD9\xAB", "0\xD9\xAB" "25"},
    // values that are not numbers
    FormatCase{kInf, 11, ".", "INF"},
    FormatCase{-kInf, 11, ".", "-INF"},
    FormatCase{kNaN, 11, ".", "NAN"}));

using FixedCase = FormatCase;

class FixedFormat : public testing::TestWithParam<FixedCase> {};

TEST_P(FixedFormat, TextWithThreeDecimals)
{
    const FixedCase& c = GetParam();
    EXPECT_EQ(FormatFixed(c.value, c.precision, 3, c.separator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FixedFormat, testing::Values(
    FixedCase{18.0, 11, ".", "18.000"},
    FixedCase{16.914467173865752, 11, ".", "16.914"},
    FixedCase{0.6816715558235892, 11, ".", "0.682"},
    FixedCase{-16.914467173865752, 11, ".", "-16.914"},
    // zero and values that round to zero carry no sign
    FixedCase{0.0, 11, ".", "0.000"},
    FixedCase{-0.0, 11, ".", "0.000"},
    FixedCase{0.0004, 11, ".", "0.000"},
    FixedCase{-0.0004, 11, ".", "0.000"},
    FixedCase{-1e-300, 11, ".", "0.000"},
    // ties half away from zero, on the 18-digit text of the double
    FixedCase{0.0005, 11, ".", "0.001"},
    FixedCase{-0.0005, 11, ".", "-0.001"},
    FixedCase{2.0005, 11, ".", "2.001"},
    FixedCase{-2.0005, 11, ".", "-2.001"},
    FixedCase{0.0625, 11, ".", "0.063"},
    FixedCase{1.0585, 11, ".", "1.059"},
    FixedCase{1.0005, 11, ".", "1.000"},
    FixedCase{9.9995, 11, ".", "9.999"},
    // carry into a new digit
    FixedCase{9.9996, 11, ".", "10.000"},
    FixedCase{-9.9996, 11, ".", "-10.000"},
    FixedCase{0.9999999, 11, ".", "1.000"},
    // significant digits coarser than three decimals
    FixedCase{1234.5678, 6, ".", "1234.570"},
    FixedCase{-1234.5678, 6, ".", "-1234.570"},
    FixedCase{1234.5, 6, ".", "1234.500"},
    FixedCase{123456.75, 6, ".", "123457.000"},
    FixedCase{999999.4, 6, ".", "999999.000"},
    FixedCase{123456789.12345, 11, ".", "123456789.120"},
    FixedCase{12345678901.2, 11, ".", "12345678901.000"},
    // more digits before the separator than the precision: general format
    FixedCase{999999.9996, 6, ".", "1E6"},
    FixedCase{1234567.8, 6, ".", "1.23457E6"},
    FixedCase{99999999999.6, 11, ".", "1E11"},
    FixedCase{123456789012.0, 11, ".", "1.2345678901E11"},
    FixedCase{1.5e12, 11, ".", "1.5E12"},
    FixedCase{-1.5e12, 11, ",", "-1,5E12"},
    // separators
    FixedCase{18.0, 11, ",", "18,000"},
    FixedCase{0.6816715558235892, 11, "\xD9\xAB", "0\xD9\xAB" "682"},
    // values that are not numbers
    FixedCase{kInf, 11, ".", "INF"},
    FixedCase{-kInf, 6, ".", "-INF"},
    FixedCase{kNaN, 11, ".", "NAN"}));

TEST(FixedFormat, OtherDecimalCounts)
{
    EXPECT_EQ(FormatFixed(2.5, 11, 0, "."), "3");
    EXPECT_EQ(FormatFixed(0.4, 11, 0, "."), "0");
    EXPECT_EQ(FormatFixed(1.25, 11, 1, ","), "1,3");
    EXPECT_EQ(FormatFixed(0.1, 11, 20, "."), "0.10000000000000000000");
}

TEST(IntegerFormat, Text)
{
    const struct {
        std::int32_t value;
        const char* expected;
    } cases[] = {
        {0, "0"},
        {18, "18"},
        {-7, "-7"},
        {2147483647, "2147483647"},
        {std::numeric_limits<std::int32_t>::min(), "-2147483648"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatInteger(c.value), c.expected) << c.value;
}

} // namespace
