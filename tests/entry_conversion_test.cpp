#include "entry_conversion.h"

#include "param_name.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace xpcalc {
namespace {

// std::nullopt in `expected` means the overflow error.
struct CountCase {
    const char *name;
    std::u16string text;
    std::optional<std::int32_t> expected;
};

class CountFromText : public testing::TestWithParam<CountCase> {};

TEST_P(CountFromText, Converts)
{
    const CountCase &c = GetParam();
    const Checked<std::int32_t> result = countFromText(c.text);
    ASSERT_EQ(result.ok(), c.expected.has_value());
    if (c.expected) {
        EXPECT_EQ(result.value(), *c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, CountFromText,
                         testing::Values(CountCase{"empty", u"", 0}, CountCase{"letters", u"abc", 0},
                                         CountCase{"padded", u"  7  ", 7}, CountCase{"inner_blank", u"7 5", 75},
                                         CountCase{"comma", u"1,000", 1}, CountCase{"half_up_to_even", u"3.5", 4},
                                         CountCase{"half_down_to_even", u"4.5", 4}, CountCase{"negative", u"-2", -2},
                                         CountCase{"exponent", u"1E3", 1000}, CountCase{"hex", u"&H10", 16},
                                         CountCase{"hex_all_ones", u"&HFFFFFFFF", -1},
                                         CountCase{"maximum", u"2147483647", 2147483647},
                                         CountCase{"one_past_maximum", u"2147483648", std::nullopt},
                                         CountCase{"minimum", u"-2147483648", -2147483647 - 1},
                                         CountCase{"one_past_minimum", u"-2147483649", std::nullopt},
                                         CountCase{"beyond_double", u"1E999", std::nullopt},
                                         CountCase{"hex_beyond_32_bits", u"&H1FFFFFFFF", std::nullopt}),
                         ByName());

struct LevelCase {
    const char *name;
    std::u16string text;
    std::optional<std::int16_t> expected;
};

class LevelFromText : public testing::TestWithParam<LevelCase> {};

TEST_P(LevelFromText, Converts)
{
    const LevelCase &c = GetParam();
    const Checked<std::int16_t> result = levelFromText(c.text);
    ASSERT_EQ(result.ok(), c.expected.has_value());
    if (c.expected) {
        EXPECT_EQ(result.value(), *c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, LevelFromText,
    testing::Values(LevelCase{"maximum", u"32767", 32767}, LevelCase{"one_past_maximum", u"32768", std::nullopt},
                    LevelCase{"minimum", u"-32768", -32768}, LevelCase{"one_past_minimum", u"-32769", std::nullopt},
                    LevelCase{"half_to_even", u"20.5", 20}, LevelCase{"below_half", u"0.4", 0},
                    LevelCase{"two_and_half", u"2.5", 2}, LevelCase{"three_and_half", u"3.5", 4},
                    LevelCase{"hex_16_bit_negative", u"&HFFFF", -1}, LevelCase{"hex_17_bits", u"&H10000", std::nullopt},
                    LevelCase{"empty", u"", 0}),
    ByName());

TEST(TextFromTotal, IsDecimal)
{
    EXPECT_EQ(textFromTotal(-600).view(), u"-600");
    EXPECT_EQ(textFromTotal(0).view(), u"0");
    EXPECT_EQ(textFromTotal(1234567).view(), u"1234567");
}

} // namespace
} // namespace xpcalc
