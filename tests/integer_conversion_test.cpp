// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "integer_conversion.h"

#include "param_name.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace xpcalc {
namespace {

struct RoundCase {
    const char *name;
    double value;
    bool fits32;
    std::int32_t expected32;
    bool fits16;
    std::int16_t expected16;
};

class RoundToInteger : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundToInteger, RoundsHalfToEvenAndChecksTheRange)
{
    const RoundCase &c = GetParam();
    const Checked<std::int32_t> wide = roundToInt32(c.value);
    ASSERT_EQ(wide.ok(), c.fits32);
    if (c.fits32) {
        EXPECT_EQ(wide.value(), c.expected32);
    }
    const Checked<std::int16_t> narrow = roundToInt16(c.value);
    ASSERT_EQ(narrow.ok(), c.fits16);
    if (c.fits16) {
        EXPECT_EQ(narrow.value(), c.expected16);
    }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Table, RoundToInteger,
    testing::Values(
        RoundCase{"zero", 0.0, true, 0, true, 0}, RoundCase{"half_to_zero", 0.5, true, 0, true, 0},
        RoundCase{"one_and_half_up", 1.5, true, 2, true, 2}, RoundCase{"two_and_half_down", 2.5, true, 2, true, 2},
        RoundCase{"minus_two_and_half", -2.5, true, -2, true, -2}, RoundCase{"minus_half", -0.5, true, 0, true, 0},
        RoundCase{"just_below_half", 0.49999999999999994, true, 0, true, 0},
        RoundCase{"four_and_half", 4.5, true, 4, true, 4}, RoundCase{"three_and_half", 3.5, true, 4, true, 4},
        RoundCase{"level_20_5", 20.5, true, 20, true, 20}, RoundCase{"level_0_4", 0.4, true, 0, true, 0},
        RoundCase{"int16_max", 32767, true, 32767, true, 32767},
        RoundCase{"int16_max_plus_half_goes_even", 32767.5, true, 32768, false, 0},
        RoundCase{"int16_max_plus_one", 32768, true, 32768, false, 0},
        RoundCase{"int16_min", -32768, true, -32768, true, -32768},
        RoundCase{"int16_min_minus_half_goes_even", -32768.5, true, -32768, true, -32768},
        RoundCase{"int16_min_minus_one", -32769, true, -32769, false, 0},
        RoundCase{"int32_max", 2147483647.0, true, 2147483647, false, 0},
        RoundCase{"int32_max_plus_half", 2147483647.5, false, 0, false, 0},
        RoundCase{"int32_max_plus_one", 2147483648.0, false, 0, false, 0},
        RoundCase{"int32_min", -2147483648.0, true, std::numeric_limits<std::int32_t>::min(), false, 0},
        RoundCase{"int32_min_minus_half_goes_even", -2147483648.5, true, std::numeric_limits<std::int32_t>::min(),
                  false, 0},
        RoundCase{"int32_min_minus_one", -2147483649.0, false, 0, false, 0},
        RoundCase{"infinity", kInf, false, 0, false, 0}, RoundCase{"minus_infinity", -kInf, false, 0, false, 0},
        RoundCase{"not_a_number", kNaN, false, 0, false, 0}),
    ByName());

// Reading the side a result does not hold must never hand back a made-up
// value, whatever the build: a caller that forgot to check stops there.
TEST(CheckedAccess, WrongSideStopsTheProgram)
{
#if GTEST_HAS_DEATH_TEST
    EXPECT_DEATH((void)roundToInt32(kNaN).value(), "does not hold");
    EXPECT_DEATH((void)roundToInt32(1.0).error(), "does not hold");
#else
    GTEST_SKIP() << "this build cannot watch a process die (the browser's)";
#endif
}

struct TextCase {
    const char *name;
    std::int32_t value;
    std::u16string expected;
};

class DecimalTextForm : public testing::TestWithParam<TextCase> {};

TEST_P(DecimalTextForm, IsPlainDecimal) { EXPECT_EQ(DecimalText(GetParam().value).view(), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Table, DecimalTextForm,
                         testing::Values(TextCase{"zero", 0, u"0"}, TextCase{"negative", -600, u"-600"},
                                         TextCase{"no_separators", 1234567, u"1234567"},
                                         TextCase{"maximum", 2147483647, u"2147483647"},
                                         TextCase{"minimum", std::numeric_limits<std::int32_t>::min(), u"-2147483648"}),
                         ByName());

} // namespace
} // namespace xpcalc
