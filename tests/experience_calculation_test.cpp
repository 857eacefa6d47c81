// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "experience_calculation.h"

#include "param_name.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace xpcalc {
namespace {

using Site = OverflowError::Site;

// An encounter sheet as the window starts it: every count "0", level "0",
// with the given boxes changed.
struct Sheet {
    std::map<int, std::u16string> counts;
    std::u16string level = u"0";

    EncounterSheet view() const
    {
        EncounterSheet sheet;
        for (int cr = 1; cr <= kChallengeRatings; ++cr) {
            const auto found = counts.find(cr);
            sheet.counts[static_cast<std::size_t>(cr - 1)] =
                found == counts.end() ? std::u16string_view(u"0") : std::u16string_view(found->second);
        }
        sheet.level = level;
        return sheet;
    }
};

struct CalculationCase {
    const char *name;
    Sheet sheet;
    std::u16string expectedTotal;  // empty when an overflow is expected
    OverflowError expectedError{}; // used only then
};

class Calculate : public testing::TestWithParam<CalculationCase> {};

TEST_P(Calculate, GivesTheTotalOrTheOverflow)
{
    const CalculationCase &c = GetParam();
    const auto result = calculate(c.sheet.view());
    if (c.expectedTotal.empty()) {
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error(), c.expectedError);
    } else {
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.value().totalText.view(), c.expectedTotal);
    }
}

CalculationCase total(const char *name, Sheet sheet, std::u16string expected)
{
    return {name, std::move(sheet), std::move(expected), {}};
}
CalculationCase overflow(const char *name, Sheet sheet, Site site, int cr)
{
    return {name, std::move(sheet), u"", OverflowError{site, cr}};
}

INSTANTIATE_TEST_SUITE_P(
    Totals, Calculate,
    testing::Values(total("fresh_window", {}, u"0"), total("two_at_cr3_level4", {{{3, u"2"}}, u"4"}, u"1600"),
                    total("level1_cr1_and_cr10", {{{1, u"1"}, {10, u"2"}}, u"1"}, u"21900"),
                    total("level1_ignores_cr11", {{{1, u"1"}, {10, u"2"}, {11, u"5"}}, u"1"}, u"21900"),
                    total("level14_cr10", {{{10, u"1"}}, u"14"}, u"1050"),
                    total("level13_cr20", {{{20, u"1"}}, u"13"}, u"46800"),
                    total("level21_no_row", {{{1, u"5"}, {10, u"3"}}, u"21"}, u"0"),
                    total("negative_level_no_row", {{{1, u"5"}}, u"-3"}, u"0"),
                    total("empty_level_no_row", {{{1, u"5"}}, u""}, u"0"),
                    total("text_level_no_row", {{{1, u"5"}}, u"abc"}, u"0"),
                    total("level_2_5_uses_row_2", {{{10, u"1"}}, u"2.5"}, u"10800"),
                    total("level_3_5_uses_row_4", {{{10, u"1"}}, u"3.5"}, u"9600"),
                    total("negative_count_subtracts", {{{2, u"-1"}}, u"5"}, u"-500"),
                    total("fractional_count_rounds", {{{1, u"2.5"}}, u"1"}, u"600"),
                    total("largest_fitting_product", {{{20, u"357913"}}, u"20"}, u"2147478000"),
                    // 8164991 x 263 + 231 x 394 at level 7: the running total
                    // lands on each end of the 32-bit range, and still fits.
                    total("total_of_exactly_int32_max", {{{1, u"8164991"}, {2, u"231"}}, u"7"}, u"2147483647"),
                    total("total_of_exactly_int32_min", {{{1, u"-8164994"}, {2, u"-229"}}, u"7"}, u"-2147483648"),
                    total("ignored_count_never_multiplied", {{{20, u"2000000000"}, {1, u"1"}}, u"1"}, u"300"),
                    total("negative_back_to_zero", {{{1, u"1"}, {2, u"-1"}, {3, u"1"}}, u"3"}, u"600"),
                    total("every_cr_once_level13", {{{6, u"1"}, {20, u"1"}}, u"13"}, u"47125")),
    ByName());

// Entries a hair past a half, in more digits than a double holds exactly: the
// digits past the 15th decide which way they round, so a reader that rounds
// the digits to a double before scaling them gives the party the wrong count
// or the wrong row.
INSTANTIATE_TEST_SUITE_P(
    LongEntries, Calculate,
    testing::Values(total("count_of_16_digits_past_90_5_is_91", {{{1, u"90.50000000000001"}}, u"1"}, u"27300"),
                    total("level_of_19_digits_past_6_5_is_7", {{{1, u"1"}}, u"6.500000000000000445"}, u"263")),
    ByName());

INSTANTIATE_TEST_SUITE_P(
    Overflows, Calculate,
    testing::Values(overflow("product_at_cr20", {{{20, u"357914"}}, u"20"}, Site::Product, 20),
                    overflow("running_total_at_cr7", {{{6, u"6000000"}, {7, u"500000"}, {8, u"-300000"}}, u"13"},
                             Site::RunningTotal, 7),
                    overflow("level_out_of_16_bits", {{{1, u"1"}}, u"32768"}, Site::LevelText, 0),
                    overflow("count_out_of_range_without_award", {{{20, u"2147483648"}}, u"1"}, Site::CountText, 20),
                    overflow("count_out_of_range_without_row", {{{5, u"1E10"}}, u"0"}, Site::CountText, 5),
                    overflow("count_checked_before_level", {{{1, u"-2147483649"}}, u"99999"}, Site::CountText, 1),
                    overflow("first_failing_count_wins", {{{3, u"1E99"}, {2, u"1E99"}}, u"1"}, Site::CountText, 2),
                    overflow("negative_total_too_low", {{{20, u"-357914"}}, u"20"}, Site::Product, 20),
                    overflow("sum_below_minimum", {{{19, u"-376750"}, {20, u"-357913"}}, u"20"}, Site::RunningTotal,
                             20)),
    ByName());

TEST(CalculationWorking, ListsEachContributingChallengeRating)
{
    const Sheet sheet{{{1, u"1"}, {2, u"0"}, {10, u"2"}, {11, u"5"}}, u"1"};
    const auto result = calculate(sheet.view());
    ASSERT_TRUE(result.ok());
    const Working &working = result.value().working;
    EXPECT_TRUE(working.levelHasRow);
    EXPECT_EQ(working.level, 1);
    ASSERT_EQ(working.contributionCount, 2);
    const Contribution &first = working.contributions[0];
    const Contribution &second = working.contributions[1];
    EXPECT_EQ(std::vector<std::int32_t>({first.challengeRating, first.count, first.award, first.product}),
              std::vector<std::int32_t>({1, 1, 300, 300}));
    EXPECT_EQ(std::vector<std::int32_t>({second.challengeRating, second.count, second.award, second.product}),
              std::vector<std::int32_t>({10, 2, 10800, 21600}));
}

TEST(CalculationWorking, SaysWhenTheLevelHasNoRow)
{
    const Sheet sheet{{{1, u"4"}}, u"21"};
    const auto result = calculate(sheet.view());
    ASSERT_TRUE(result.ok());
    EXPECT_FALSE(result.value().working.levelHasRow);
    EXPECT_EQ(result.value().working.level, 21);
    EXPECT_EQ(result.value().working.contributionCount, 0);
}

TEST(CalculationWorking, ProductsAddUpToTheTotal)
{
    const Sheet sheet{{{4, u"3"}, {9, u"-2"}, {12, u"7"}, {15, u"1"}}, u"9"};
    const auto result = calculate(sheet.view());
    ASSERT_TRUE(result.ok());
    std::int64_t sum = 0;
    const Working &working = result.value().working;
    for (int i = 0; i < working.contributionCount; ++i) {
        const Contribution &c = working.contributions[static_cast<std::size_t>(i)];
        EXPECT_EQ(std::int64_t{c.count} * c.award, c.product);
        sum += c.product;
    }
    EXPECT_EQ(sum, result.value().total);
    EXPECT_EQ(result.value().total, 3 * 506 - 2 * 2700 + 7 * 8100 + 21600);
}

} // namespace
} // namespace xpcalc
