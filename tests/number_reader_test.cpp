// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "number_reader.h"

#include "param_name.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace xpcalc {
namespace {

struct ReadCase {
    const char *name;
    std::u16string text;
    double expected;
};

class ReadNumber : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadNumber, ReadsTheLeadingNumber)
{
    const ReadCase &c = GetParam();
    const Checked<double> result = readNumber(c.text);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.value(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Plain, ReadNumber,
    testing::Values(ReadCase{"empty", u"", 0}, ReadCase{"letters", u"abc", 0}, ReadCase{"sign_only", u"-", 0},
                    ReadCase{"period_only", u".", 0}, ReadCase{"blanks_only", u" \t\n ", 0}, ReadCase{"digit", u"7", 7},
                    ReadCase{"padded", u"  7  ", 7}, ReadCase{"inner_blank", u"7 5", 75},
                    ReadCase{"thousands_blank", u"1 000", 1000}, ReadCase{"leading_blank", u" 12", 12},
                    ReadCase{"tab_and_line_feed", u"1\t2\n3", 123}, ReadCase{"comma_ends", u"1,000", 1},
                    ReadCase{"trailing_letters", u"12abc", 12}, ReadCase{"fraction", u"3.5", 3.5},
                    ReadCase{"no_integer_part", u".5", 0.5}, ReadCase{"no_fraction_digits", u"5.", 5},
                    ReadCase{"second_period_ends", u"1.2.3", 1.2}, ReadCase{"negative", u"-2", -2},
                    ReadCase{"plus", u"+8", 8}, ReadCase{"blank_after_sign", u"- 8", -8},
                    ReadCase{"double_sign", u"+-8", 0}, ReadCase{"currency_ends", u"$5", 0},
                    ReadCase{"leading_zeros", u"007", 7}, ReadCase{"negative_zero_reads_zero", u"-0", 0},
                    ReadCase{"zero_fraction", u"0.000", 0}),
    ByName());

INSTANTIATE_TEST_SUITE_P(
    Exponents, ReadNumber,
    testing::Values(ReadCase{"upper_e", u"1E3", 1000}, ReadCase{"lower_e", u"1e3", 1000},
                    ReadCase{"negative_exponent", u"25E-1", 2.5}, ReadCase{"plus_exponent", u"2e+2", 200},
                    ReadCase{"d_marker", u"1D3", 1000}, ReadCase{"lower_d_marker", u"2d2", 200},
                    ReadCase{"exponent_without_digits", u"5E", 5}, ReadCase{"exponent_sign_only", u"5E-", 5},
                    ReadCase{"exponent_alone", u"E5", 0}, ReadCase{"blank_in_exponent", u"1 E 2", 100},
                    ReadCase{"fraction_and_exponent", u"1.5e1x", 15}, ReadCase{"tiny", u"1E-400", 0},
                    ReadCase{"zero_with_huge_exponent", u"0E999999999999", 0},
                    ReadCase{"smallest_subnormal", u"5E-324", 4.9406564584124654e-324},
                    ReadCase{"underflows_to_zero", u"1E-330", 0},
                    ReadCase{"negative_underflows_to_zero", u"-1E-330", 0},
                    ReadCase{"below_half_the_smallest_subnormal", u"2.4703282292062327E-324", 0},
                    ReadCase{"above_half_the_smallest_subnormal", u"2.4703282292062328E-324", 4.9406564584124654e-324},
                    ReadCase{"largest_double", u"1.7976931348623157E308", 1.7976931348623157e308}),
    ByName());

INSTANTIATE_TEST_SUITE_P(
    RadixPrefixes, ReadNumber,
    testing::Values(ReadCase{"hex", u"&H10", 16}, ReadCase{"hex_lower", u"&hff", 255}, ReadCase{"octal", u"&O17", 15},
                    ReadCase{"octal_lower", u"&o10", 8}, ReadCase{"hex_16_bit_negative", u"&HFFFF", -1},
                    ReadCase{"hex_16_bit_minimum", u"&H8000", -32768}, ReadCase{"hex_past_16_bits", u"&H10000", 65536},
                    ReadCase{"hex_32_bit_negative", u"&HFFFFFFFF", -1},
                    ReadCase{"hex_32_bit_minimum", u"&H80000000", -2147483648.0},
                    ReadCase{"hex_leading_zeros", u"&H0000000000FF", 255},
                    ReadCase{"octal_16_bit_negative", u"&O177777", -1},
                    ReadCase{"octal_32_bit_negative", u"&O37777777777", -1}, ReadCase{"hex_no_digits", u"&H", 0},
                    ReadCase{"hex_bad_digit", u"&HG", 0}, ReadCase{"octal_stops_at_8", u"&O78", 7},
                    ReadCase{"ampersand_alone", u"&", 0}, ReadCase{"ampersand_digits", u"&12", 0},
                    ReadCase{"blanks_inside_prefix", u"& H 1 0", 16}, ReadCase{"sign_before_prefix", u"-&H10", 0},
                    ReadCase{"hex_has_no_fraction", u"&H10.5", 16}),
    ByName());

// Characters that are not blanks, tabs or line feeds end the number, however
// much they look like a space or a digit.
INSTANTIATE_TEST_SUITE_P(OtherCharactersEndIt, ReadNumber,
                         testing::Values(ReadCase{"no_break_space", u"1\u00A02", 1},
                                         ReadCase{"ideographic_space", u"1\u30002", 1},
                                         ReadCase{"carriage_return", u"1\r2", 1}, ReadCase{"vertical_tab", u"1\v2", 1},
                                         ReadCase{"nul",
                                                  std::u16string(u"1\0"
                                                                 u"2",
                                                                 3),
                                                  1},
                                         ReadCase{"fullwidth_digit", u"1\uFF12", 1},
                                         ReadCase{"arabic_indic_digit", u"\u0663", 0},
                                         ReadCase{"lone_high_surrogate",
                                                  u"4\xD800"
                                                  u"5",
                                                  4},
                                         ReadCase{"lone_low_surrogate",
                                                  u"4\xDC00"
                                                  u"5",
                                                  4},
                                         ReadCase{"comma_decimal", u"2,5", 2}),
                         ByName());

// 2^53 + 1 and 2^53 + 3 lie exactly halfway between two doubles; the one with
// the even mantissa wins, below the first and above the second, so a reader
// that breaks ties one way only fails one row.
INSTANTIATE_TEST_SUITE_P(HalfwayGoesToEven, ReadNumber,
                         testing::Values(ReadCase{"down", u"9007199254740993", 9007199254740992.0},
                                         ReadCase{"up", u"9007199254740995", 9007199254740996.0}),
                         ByName());

// Short numbers take an exact path of one multiplication or division; the
// rest go to a correctly rounding conversion. Every power of ten the exact path
// holds, and one past either end, with mantissas that round wrongly if that
// path took them: 16 and 19 digits need more than the 53 bits of a double, and
// 10^23 is not a double.
TEST(ReadNumberExactPath, AgreesWithTheCorrectlyRoundedValueAtItsLimits)
{
    for (const std::string mantissa :
         {"7", "619481575792932", "801201467653275", "9768070884241057", "2552983743176183665"}) {
        for (int power = -23; power <= 23; ++power) {
            const std::string text = mantissa + "E" + std::to_string(power);
            EXPECT_EQ(readNumber(std::u16string(text.begin(), text.end())).value(), std::strtod(text.c_str(), nullptr))
                << text;
        }
    }
}

// 2^53 + 1 lies exactly halfway between two doubles, so a non-zero digit
// anywhere after it, however far, decides between them. Past the 768 digits
// kept, digits are only scanned, eight characters at a time where the
// processor allows, then one at a time; `position` counts significant digits,
// so 768 is the first dropped one and the first of an eight-character group.
struct DecidingDigitCase {
    const char *name;
    std::size_t position;
    std::u16string rest; // from that digit on
    double expected;
};

class ReadNumberDecidingDigit : public testing::TestWithParam<DecidingDigitCase> {};

TEST_P(ReadNumberDecidingDigit, RoundsHalfwayByTheDigitsAfterIt)
{
    const DecidingDigitCase &c = GetParam();
    const std::u16string halfway = u"9007199254740993.";
    const std::u16string text = halfway + std::u16string(c.position - (halfway.size() - 1), u'0') + c.rest;
    EXPECT_EQ(readNumber(text).value(), c.expected);
}

constexpr double kBelow = 9007199254740992.0;
constexpr double kAbove = 9007199254740994.0;
const std::u16string kTwoGroupsOfZeros(16, u'0');

INSTANTIATE_TEST_SUITE_P(
    AroundTheKeptDigits, ReadNumberDecidingDigit,
    testing::Values(DecidingDigitCase{"only_zeros_after", 768, kTwoGroupsOfZeros + kTwoGroupsOfZeros, kBelow},
                    DecidingDigitCase{"last_kept", 767, u"1" + kTwoGroupsOfZeros, kAbove},
                    DecidingDigitCase{"lane_0", 768, u"1" + kTwoGroupsOfZeros, kAbove},
                    DecidingDigitCase{"lane_1", 769, u"1" + kTwoGroupsOfZeros, kAbove},
                    DecidingDigitCase{"lane_2", 770, u"1" + kTwoGroupsOfZeros, kAbove},
                    DecidingDigitCase{"lane_3", 771, u"1" + kTwoGroupsOfZeros, kAbove},
                    DecidingDigitCase{"lane_4", 772, u"1" + kTwoGroupsOfZeros, kAbove},
                    DecidingDigitCase{"lane_5", 773, u"1" + kTwoGroupsOfZeros, kAbove},
                    DecidingDigitCase{"lane_6", 774, u"1" + kTwoGroupsOfZeros, kAbove},
                    DecidingDigitCase{"lane_7", 775, u"1" + kTwoGroupsOfZeros, kAbove},
                    DecidingDigitCase{"second_group", 776, u"1" + kTwoGroupsOfZeros, kAbove},
                    DecidingDigitCase{"last_character", 1000, u"1", kAbove},
                    DecidingDigitCase{"after_blanks_in_a_group", 770, u"0 \t\n1" + kTwoGroupsOfZeros, kAbove},
                    DecidingDigitCase{"after_an_end_in_a_group", 770, u"00,1" + kTwoGroupsOfZeros, kBelow},
                    DecidingDigitCase{"end_opening_the_next_group", 774, u"00,1" + kTwoGroupsOfZeros, kBelow}),
    ByName());

TEST(ReadNumberRounding, LongIntegerPartsKeepTheirMagnitude)
{
    const std::u16string digits = u"1" + std::u16string(300, u'0');
    EXPECT_EQ(readNumber(digits).value(), 1e300);
    const std::u16string spaced = u"2" + std::u16string(100000, u' ') + u"5";
    EXPECT_EQ(readNumber(spaced).value(), 25.0);
    // Past the kept digits the blanks among them must not count as digits.
    std::u16string blanksAmongDropped = u"1";
    for (int i = 0; i < 200; ++i)
        blanksAmongDropped += u"000 0";
    EXPECT_EQ(readNumber(blanksAmongDropped + u"E-800").value(), 1.0);
}

TEST(ReadNumberRounding, ManyLeadingZerosAfterThePeriod)
{
    const std::u16string text = u"0." + std::u16string(5000, u'0') + u"1E5010";
    EXPECT_DOUBLE_EQ(readNumber(text).value(), 1e9);
}

struct OverflowCase {
    const char *name;
    std::u16string text;
};

class ReadNumberOverflow : public testing::TestWithParam<OverflowCase> {};

TEST_P(ReadNumberOverflow, IsTheOverflowError) { EXPECT_FALSE(readNumber(GetParam().text).ok()); }

INSTANTIATE_TEST_SUITE_P(TooLarge, ReadNumberOverflow,
                         testing::Values(OverflowCase{"exponent", u"1E400"},
                                         OverflowCase{"negative_exponent_value", u"-1E309"},
                                         OverflowCase{"just_past_double", u"1.8E308"},
                                         OverflowCase{"huge_exponent", u"9E99999999999999999"},
                                         OverflowCase{"many_digits", u"1" + std::u16string(400, u'0')},
                                         OverflowCase{"hex_past_32_bits", u"&H100000000"},
                                         OverflowCase{"octal_past_32_bits", u"&O40000000000"}),
                         ByName());

TEST(ReadNumberLength, ReadsAMillionDigitNumber)
{
    // A million digits: far more than are kept, so this checks the count of
    // dropped digits as well as linear time.
    std::u16string text = u"1";
    text.append(999'999, u'0');
    text += u"E-999999";
    EXPECT_EQ(readNumber(text).value(), 1.0);
}

} // namespace
} // namespace xpcalc
