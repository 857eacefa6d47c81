// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// What the user is told of a calculation: its working, and its overflow.
#include "experience_calculation.h"
#include "messages.h"
#include "param_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace xpcalc;

namespace {

Working working(std::int16_t level, bool hasRow, const std::vector<Contribution> &contributions)
{
    Working w;
    w.level = level;
    w.levelHasRow = hasRow;
    for (const Contribution &c : contributions)
        w.contributions[static_cast<std::size_t>(w.contributionCount++)] = c;
    return w;
}

struct WorkingCase {
    const char *name;
    Working working;
    std::u16string text;
};

class WorkingText : public testing::TestWithParam<WorkingCase> {};

TEST_P(WorkingText, SaysHowTheTotalCameAbout) { EXPECT_EQ(workingText(GetParam().working), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Cases, WorkingText,
    testing::Values(WorkingCase{"one_line_per_rating", working(4, true, {{3, 2, 800, 1600}, {20, 1, 0, 0}}),
                                u"Party level 4:\nCR 3: 2 \u00D7 800 = 1600\nCR 20: 1 \u00D7 0 = 0"},
                    WorkingCase{"negative_count", working(5, true, {{2, -1, 500, -500}}),
                                u"Party level 5:\nCR 2: -1 \u00D7 500 = -500"},
                    WorkingCase{"nothing_earns", working(9, true, {}),
                                u"No encounter earns experience at party level 9, so the total is 0."},
                    WorkingCase{
                        "no_row", working(-32768, false, {}),
                        u"Party level -32768 has no row in the award table (only levels 1 to 20 have one), so no "
                        u"encounter earns experience and the total is 0."}),
    ByName());

TEST(TotalAnnouncement, NamesTheTotal) { EXPECT_EQ(totalAnnouncement(u"-500"), u"Total experience: -500"); }

struct OverflowCase {
    const char *name;
    OverflowError error;
    std::u16string where; // the middle line
};

class OverflowMessage : public testing::TestWithParam<OverflowCase> {};

TEST_P(OverflowMessage, SaysWhereAndThatTheTotalStands)
{
    EXPECT_EQ(overflowMessage(GetParam().error),
              u"The calculation overflowed.\n" + GetParam().where + u"\nThe total was not changed.");
}

INSTANTIATE_TEST_SUITE_P(
    Sites, OverflowMessage,
    testing::Values(
        OverflowCase{"count",
                     {OverflowError::Site::CountText, 1},
                     u"The number of encounters at CR 1 is outside the range the calculator can count "
                     u"(-2147483648 to 2147483647)."},
        OverflowCase{"level",
                     {OverflowError::Site::LevelText, 0},
                     u"The party level is outside the range the calculator can read (-32768 to 32767)."},
        OverflowCase{"product",
                     {OverflowError::Site::Product, 20},
                     u"The experience for the encounters at CR 20 is outside the range the calculator can hold "
                     u"(-2147483648 to 2147483647)."},
        OverflowCase{"running_total",
                     {OverflowError::Site::RunningTotal, 7},
                     u"The running total left the range the calculator can hold (-2147483648 to 2147483647) when "
                     u"the encounters at CR 7 were added."}),
    ByName());

} // namespace
