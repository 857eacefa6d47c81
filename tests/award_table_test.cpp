#include "award_table.h"

#include "param_name.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace xpcalc {
namespace {

struct NamedAward {
    const char *name;
    int level;
    int challengeRating;
    std::int32_t expected;
};

class AwardLookup : public testing::TestWithParam<NamedAward> {};

TEST_P(AwardLookup, ReturnsTheTableEntry)
{
    const NamedAward &row = GetParam();
    EXPECT_EQ(award(row.level, row.challengeRating), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    NamedEntries, AwardLookup,
    testing::Values(NamedAward{"level2_cr10", 2, 10, 10800}, NamedAward{"level3_cr11", 3, 11, 0},
                    NamedAward{"level14_cr10", 14, 10, 1050}, NamedAward{"level13_cr20_largest", 13, 20, 46800},
                    NamedAward{"level20_cr15_irregular", 20, 15, 1000}, NamedAward{"level9_cr1_none", 9, 1, 0},
                    NamedAward{"level19_cr11_none", 19, 11, 0}, NamedAward{"level20_cr13", 20, 13, 500},
                    NamedAward{"level7_cr1", 7, 1, 263}, NamedAward{"level1_cr1_first", 1, 1, 300},
                    NamedAward{"level20_cr20_last", 20, 20, 6000}),
    ByName());

// The band of challenge ratings that earn something at a level.
std::pair<int, int> band(int level)
{
    if (level <= 3)
        return {1, 10};
    return {std::max(1, level - 7), std::min(20, level + 7)};
}

class AwardRowShape : public testing::TestWithParam<int> {};

TEST_P(AwardRowShape, NonZeroExactlyInsideItsBand)
{
    const int level = GetParam();
    const auto [first, last] = band(level);
    for (int cr = 1; cr <= kChallengeRatings; ++cr) {
        const bool inBand = cr >= first && cr <= last;
        EXPECT_EQ(award(level, cr) != 0, inBand) << "challenge rating " << cr;
    }
}

TEST_P(AwardRowShape, StrictlyIncreasesAcrossItsBand)
{
    const int level = GetParam();
    const auto [first, last] = band(level);
    for (int cr = first + 1; cr <= last; ++cr)
        EXPECT_LT(award(level, cr - 1), award(level, cr)) << "challenge rating " << cr;
}

TEST_P(AwardRowShape, RowAccessMatchesLookup)
{
    const int level = GetParam();
    const AwardRow &row = awardRow(level);
    for (int cr = 1; cr <= kChallengeRatings; ++cr)
        EXPECT_EQ(row[static_cast<std::size_t>(cr - 1)], award(level, cr));
}

INSTANTIATE_TEST_SUITE_P(EveryLevel, AwardRowShape, testing::Range(1, kLevels + 1),
                         [](const testing::TestParamInfo<int> &row) { return "level" + std::to_string(row.param); });

TEST(AwardTable, Has247NonZeroEntries)
{
    int nonZero = 0;
    for (const AwardRow &row : kAwardTable)
        nonZero += static_cast<int>(std::count_if(row.begin(), row.end(), [](std::int32_t v) { return v != 0; }));
    EXPECT_EQ(nonZero, 247);
}

TEST(AwardTable, LevelsOneToThreeShareOneRow)
{
    EXPECT_EQ(awardRow(1), awardRow(2));
    EXPECT_EQ(awardRow(2), awardRow(3));
    EXPECT_NE(awardRow(3), awardRow(4));
}

TEST(AwardTable, ColumnsNeverIncreaseWithLevel)
{
    for (int cr = 1; cr <= kChallengeRatings; ++cr) {
        for (int level = 2; level <= kLevels; ++level) {
            if (award(level - 1, cr) != 0 && award(level, cr) != 0) {
                EXPECT_LE(award(level, cr), award(level - 1, cr)) << "level " << level << ", challenge rating " << cr;
            }
        }
    }
}

TEST(AwardTable, EntriesAreNonNegativeAndBeyondSixteenBits)
{
    std::int32_t largest = 0;
    for (const AwardRow &row : kAwardTable) {
        for (std::int32_t entry : row) {
            EXPECT_GE(entry, 0);
            largest = std::max(largest, entry);
        }
    }
    EXPECT_EQ(largest, 46800);
}

} // namespace
} // namespace xpcalc
