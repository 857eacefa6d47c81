// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>

namespace xpcalc {

constexpr int kLevels = 20;           // party levels 1 to 20
constexpr int kChallengeRatings = 20; // challenge ratings 1 to 20

// Experience points one encounter of a challenge rating is worth to a party of
// a level, for challenge ratings 1 to 20 in order. 0 means no award is defined
// for that pair: encounters there earn nothing and their count is not used.
using AwardRow = std::array<std::int32_t, kChallengeRatings>;

// The award table, by party level 1 to 20. The rows are the literal published
// values: no formula reproduces all of them (levels 1 to 6 and the 1000 at
// level 20, challenge rating 15 follow no common progression), so nothing here
// is computed.
// clang-format off
inline constexpr std::array<AwardRow, kLevels> kAwardTable{{
    //  1     2     3     4     5     6     7     8     9     10     11     12     13     14     15     16     17     18     19     20
    {300,  600,  900, 1350, 1800, 2700, 3600, 5400, 7200, 10800,     0,     0,     0,     0,     0,     0,     0,     0,     0,     0}, //  1
    {300,  600,  900, 1350, 1800, 2700, 3600, 5400, 7200, 10800,     0,     0,     0,     0,     0,     0,     0,     0,     0,     0}, //  2
    {300,  600,  900, 1350, 1800, 2700, 3600, 5400, 7200, 10800,     0,     0,     0,     0,     0,     0,     0,     0,     0,     0}, //  3
    {300,  600,  800, 1200, 1600, 2400, 3200, 4800, 6400,  9600, 12800,     0,     0,     0,     0,     0,     0,     0,     0,     0}, //  4
    {300,  500,  750, 1000, 1500, 2250, 3000, 4500, 6000,  9000, 12000, 18000,     0,     0,     0,     0,     0,     0,     0,     0}, //  5
    {300,  450,  600,  900, 1200, 1800, 2700, 3600, 5400,  7200, 10800, 14400, 21600,     0,     0,     0,     0,     0,     0,     0}, //  6
    {263,  394,  525,  700, 1050, 1400, 2100, 3150, 4200,  6300,  8400, 12600, 16800, 25200,     0,     0,     0,     0,     0,     0}, //  7
    {200,  300,  450,  600,  800, 1200, 1600, 2400, 3600,  4800,  7200,  9600, 14400, 19200, 28800,     0,     0,     0,     0,     0}, //  8
    {  0,  225,  338,  506,  675,  900, 1350, 1800, 2700,  4050,  5400,  8100, 10800, 16200, 21600, 32400,     0,     0,     0,     0}, //  9
    {  0,    0,  250,  375,  563,  750, 1000, 1500, 2000,  3000,  4500,  6000,  9000, 12000, 18000, 24000, 36000,     0,     0,     0}, // 10
    {  0,    0,    0,  275,  413,  619,  825, 1100, 1650,  2200,  3300,  4950,  6600,  9900, 13200, 19800, 26400, 39600,     0,     0}, // 11
    {  0,    0,    0,    0,  300,  450,  675,  900, 1200,  1800,  2400,  3600,  5400,  7200, 10800, 14400, 21600, 28800, 43200,     0}, // 12
    {  0,    0,    0,    0,    0,  325,  488,  731,  975,  1300,  1950,  2600,  3900,  5850,  7800, 11700, 15600, 23400, 31200, 46800}, // 13
    {  0,    0,    0,    0,    0,    0,  350,  525,  788,  1050,  1400,  2100,  2800,  4200,  6300,  8400, 12600, 16800, 25200, 33600}, // 14
    {  0,    0,    0,    0,    0,    0,    0,  375,  563,   844,  1125,  1500,  2250,  3000,  4500,  6750,  9000, 13500, 18000, 27000}, // 15
    {  0,    0,    0,    0,    0,    0,    0,    0,  400,   600,   900,  1200,  1600,  2400,  3200,  4800,  7200,  9600, 14400, 19200}, // 16
    {  0,    0,    0,    0,    0,    0,    0,    0,    0,   425,   638,   956,  1275,  1700,  2550,  3400,  5100,  7650, 10200, 15300}, // 17
    {  0,    0,    0,    0,    0,    0,    0,    0,    0,     0,   450,   675,  1013,  1350,  1800,  2700,  3600,  5400,  8100, 10800}, // 18
    {  0,    0,    0,    0,    0,    0,    0,    0,    0,     0,     0,   475,   713,  1069,  1425,  1900,  2850,  3800,  5700,  8550}, // 19
    {  0,    0,    0,    0,    0,    0,    0,    0,    0,     0,     0,     0,   500,   750,  1000,  1500,  2000,  3000,  4000,  6000}, // 20
}};
// clang-format on

// The row of a party level; callers pass 1 to 20 only.
constexpr const AwardRow &awardRow(int level) noexcept { return kAwardTable[static_cast<std::size_t>(level - 1)]; }

// The award of one encounter; callers pass level and challenge rating 1 to 20 only.
constexpr std::int32_t award(int level, int challengeRating) noexcept
{
    return awardRow(level)[static_cast<std::size_t>(challengeRating - 1)];
}

} // namespace xpcalc
