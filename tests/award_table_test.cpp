// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "award_table.h"

#include "param_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

using AwardTable = std::array<AwardRow, kLevels>;

// The rules the published table keeps, stated apart from its listing so that a
// mistyped entry shows: each entry is held by at least one rule that a change
// of any one of its digits breaks. Returns the rules a table breaks, where.
std::vector<std::string> brokenRules(const AwardTable &table)
{
    std::vector<std::string> broken;
    const auto at = [&table](int level, int cr) {
        return table[static_cast<std::size_t>(level - 1)][static_cast<std::size_t>(cr - 1)];
    };
    const auto check = [&broken](bool holds, const char *rule, int level, int cr) {
        if (!holds)
            broken.push_back(std::string(rule) + " at level " + std::to_string(level) + ", CR " + std::to_string(cr));
    };
    const auto inBand = [](int level, int cr) { return level <= 3 ? cr <= 10 : cr >= level - 7 && cr <= level + 7; };
    // Halves round up, as the published table rounds them.
    const auto share = [](std::int32_t whole, int numerator, int denominator) {
        return (2 * whole * numerator + denominator) / (2 * denominator);
    };

    // The values in the bands: an award exactly inside the row's band, rising
    // across it; a column never rising with the level.
    for (int level = 1; level <= kLevels; ++level) {
        for (int cr = 1; cr <= kChallengeRatings; ++cr) {
            check((at(level, cr) != 0) == inBand(level, cr), "band", level, cr);
            if (cr > 1 && inBand(level, cr - 1) && inBand(level, cr))
                check(at(level, cr - 1) < at(level, cr), "row rises", level, cr);
            if (level > 1 && inBand(level - 1, cr) && inBand(level, cr))
                check(at(level, cr) <= at(level - 1, cr), "column never rises", level, cr);
        }
    }
    // Levels 1 to 3 share one row, so the rules below start at level 3.
    check(table[0] == table[2] && table[1] == table[2], "levels 1 to 3 share a row", 1, 1);

    for (int level = 3; level <= kLevels; ++level) {
        // The diagonal: a challenge rating equal to the level earns 300 x level.
        check(at(level, level) == 300 * level, "diagonal", level, level);

        // Two challenge ratings apart, the award doubles; halves round up.
        // Except: from one below the diagonal to one above (x 2 1/4, but level
        // 4 doubles there too); from seven and from five below (the five below
        // is a 3/16 step) up to level 19; and from CR 1 up to level 5, where
        // 300 is the least award.
        for (int cr = 1; cr + 2 <= kChallengeRatings; ++cr) {
            const int below = level - cr;
            const bool exception = (below == 1 && level != 4) ||
                                   ((below == 7 || below == 5) && level >= 7 && level <= 19) || (cr == 1 && level <= 5);
            if (inBand(level, cr) && inBand(level, cr + 2) && !exception)
                check(at(level, cr) == share(at(level, cr + 2), 1, 2), "doubling", level, cr);
        }

        // The steps no doubling reaches from the diagonal, as shares of it.
        // Except: level 4 doubles across the diagonal, and levels 6 and 20
        // double at five below.
        if (level + 1 <= kChallengeRatings && level != 4)
            check(at(level, level + 1) == share(300 * level, 3, 2), "one above", level, level + 1);
        if (level >= 7 && level <= 19)
            check(at(level, level - 5) == share(300 * level, 3, 16), "five below", level, level - 5);
        if (level >= 8)
            check(at(level, level - 7) == share(300 * level, 1, 12), "seven below", level, level - 7);
        if (level <= 6)
            check(at(level, 1) == 300, "least award", level, 1);
    }
    return broken;
}

TEST(AwardTable, KeepsItsRules) { EXPECT_EQ(brokenRules(kAwardTable), std::vector<std::string>{}); }

// The rules hold the whole table: no entry escapes them with one digit changed.
TEST(AwardTable, EveryOneDigitTypoBreaksARule)
{
    for (std::size_t row = 0; row < kAwardTable.size(); ++row) {
        for (std::size_t column = 0; column < kAwardTable[row].size(); ++column) {
            const std::string digits = std::to_string(kAwardTable[row][column]);
            for (std::size_t i = 0; i < digits.size(); ++i) {
                for (char typed = '0'; typed <= '9'; ++typed) {
                    if (typed == digits[i])
                        continue;
                    std::string mistyped = digits;
                    mistyped[i] = typed;
                    AwardTable table = kAwardTable;
                    table[row][column] = std::stoi(mistyped);
                    EXPECT_FALSE(brokenRules(table).empty())
                        << "level " << row + 1 << ", CR " << column + 1 << " mistyped as " << mistyped;
                }
            }
        }
    }
}

} // namespace
} // namespace xpcalc
