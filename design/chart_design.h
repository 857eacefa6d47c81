// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "award_table.h"
#include "design.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace xpcalc {

// The chart window's design. A screen reader meets the chart, then the
// explanation, the rule-book pointer and the button. The button is the one
// control that does anything, so the focus starts there.
inline constexpr WindowDesign kChartWindow{
    "Form2", kProgramName, "award chart", 6720, 5535, true, Typeface::Small, Paint::Face, {Role::ReturnToCalculator},
};

// The chart window's controls, in the order the window creates them.
// clang-format off
inline constexpr std::array<ControlDesign, 4> kChartControls{{
    {Role::ReturnToCalculator, "Command1", 0, Kind::Button, {}, {4200, 3480, 2295, 615}, 3, Typeface::SmallBold,
     "Click here to return to the Calculator"},
    {Role::Chart, "Picture1", 0, Kind::Chart, {}, {0, 120, 3975, 5175}, 0, Typeface::None, {}},
    {Role::FurtherReading, "Label2", 0, Kind::Label, {}, {4080, 4320, 2535, 975}, 2, Typeface::SmallItalic,
     "For more information on earning experience, please refer to the Dungeons and Dragons 3rd Edition Dungeon "
     "Master's Guide."},
    {Role::Explanation, "Label1", 0, Kind::Label, {}, {4080, 240, 2535, 3015}, 1, Typeface::Small,
     "This chart shows how the experience points are awarded based on party level and challenge rating.  As you can "
     "see, some challenge ratings are unreachable at lower party levels, which is why no award is defined.  At "
     "higher party levels, the lower challenge ratings do not offer a reward.  This is because it would be nothing "
     "for a 20th level party to kill a group of CR 2 monsters."},
}};
// clang-format on

static_assert(tabIndicesAreUnique(kChartControls));
static_assert(namesAreUnique(kChartControls));
static_assert(rolesAreUnique(kChartControls));
static_assert(controlsFitTheirContainers(kChartWindow, kChartControls));
static_assert(controlsTouchAtMostByAPixel(kChartControls));
static_assert(opensOnAFocusStop(kChartWindow, kChartControls));

// The award chart in Picture1: the award table as two grids, challenge
// ratings 1 to 10 above and 11 to 20 below, and as one table for screen
// readers, drawn alike on the desktop and on the web page.
inline constexpr std::string_view kChartTitle = "Experience Point Awards";
inline constexpr std::string_view kChartHeading = "Challenge Rating"; // over each grid's columns
inline constexpr std::string_view kChartLevelHeader = "Party Level";  // a word a line
inline constexpr std::string_view kChartRatingHeader = "CR";          // over each rating
inline constexpr std::string_view kChartRowHeading = "Party level";   // what screen readers call the row labels

// The chart's rows: levels 1 to 3 earn the same awards, so they share the
// first; every later level has a row of its own.
struct ChartRow {
    int firstLevel = 0;
    int lastLevel = 0;
};
inline constexpr int kLevelsOfTheFirstRow = 3;
inline constexpr int kChartRows = kLevels - kLevelsOfTheFirstRow + 1;

constexpr ChartRow chartRow(int row)
{
    return row == 0 ? ChartRow{1, kLevelsOfTheFirstRow}
                    : ChartRow{row + kLevelsOfTheFirstRow, row + kLevelsOfTheFirstRow};
}
static_assert(chartRow(kChartRows - 1).lastLevel == kLevels, "the last row is the last level's");

constexpr bool awardsAlike(int firstLevel, int lastLevel)
{
    for (int level = firstLevel + 1; level <= lastLevel; ++level)
        for (int rating = 1; rating <= kChallengeRatings; ++rating)
            if (award(level, rating) != award(firstLevel, rating))
                return false;
    return true;
}
static_assert(awardsAlike(1, kLevelsOfTheFirstRow), "the levels that share a row earn the same awards");

// Grey bands behind every other group of three levels: 6 to 8, 12 to 14 and
// 18 to 20.
constexpr bool isBanded(const ChartRow &row) { return row.firstLevel >= 6 && (row.firstLevel / 3) % 2 == 0; }

// A row's label: its level, or its first and last ("1-3").
inline std::string chartRowLabel(int row)
{
    const ChartRow levels = chartRow(row);
    return levels.firstLevel == levels.lastLevel
               ? std::to_string(levels.firstLevel)
               : std::to_string(levels.firstLevel) + "-" + std::to_string(levels.lastLevel);
}
// What screen readers call a row, and a column of awards.
inline std::string chartRowHeardAs(int row) { return std::string(kChartRowHeading) + " " + chartRowLabel(row); }
inline std::string chartColumnHeardAs(int challengeRating)
{
    return std::string(kChartRatingHeader) + " " + std::to_string(challengeRating);
}

// A grid shows the rows that earn an award in its challenge ratings, one run
// of them.
struct ChartGrid {
    int firstChallengeRating = 1;
    int firstRow = 0;
    int rows = 0;
};
inline constexpr int kChartGridColumns = kChallengeRatings / 2;

constexpr bool earnsIn(int row, int firstChallengeRating)
{
    for (int rating = firstChallengeRating; rating < firstChallengeRating + kChartGridColumns; ++rating)
        if (award(chartRow(row).firstLevel, rating) != 0)
            return true;
    return false;
}

constexpr ChartGrid chartGrid(int firstChallengeRating)
{
    ChartGrid grid{firstChallengeRating, 0, 0};
    while (grid.firstRow < kChartRows && !earnsIn(grid.firstRow, firstChallengeRating))
        ++grid.firstRow;
    while (grid.firstRow + grid.rows < kChartRows && earnsIn(grid.firstRow + grid.rows, firstChallengeRating))
        ++grid.rows;
    return grid;
}

inline constexpr std::array<ChartGrid, 2> kChartGrids{chartGrid(1), chartGrid(kChartGridColumns + 1)};

constexpr bool gridsShowOneRunOfRows()
{
    for (const ChartGrid &grid : kChartGrids)
        for (int row = grid.firstRow + grid.rows; row < kChartRows; ++row)
            if (earnsIn(row, grid.firstChallengeRating))
                return false;
    return true;
}
static_assert(gridsShowOneRunOfRows(), "a grid's rows that earn an award follow one another");

constexpr int lastChallengeRating(const ChartGrid &grid) { return grid.firstChallengeRating + kChartGridColumns - 1; }

// What screen readers call a grid.
inline std::string chartGridHeardAs(const ChartGrid &grid)
{
    return std::string(kChartTitle) + ", challenge ratings " + std::to_string(grid.firstChallengeRating) + " to " +
           std::to_string(lastChallengeRating(grid));
}

// A band: the first and last of a run of banded rows, as the chart's rows.
struct ChartBand {
    int firstRow = 0;
    int lastRow = 0;
};

// The bands behind a grid's rows, top to bottom: each run of banded rows one.
inline std::vector<ChartBand> chartBands(const ChartGrid &grid)
{
    std::vector<ChartBand> bands;
    for (int row = grid.firstRow; row < grid.firstRow + grid.rows; ++row) {
        if (!isBanded(chartRow(row)))
            continue;
        if (!bands.empty() && bands.back().lastRow == row - 1)
            bands.back().lastRow = row;
        else
            bands.push_back({row, row});
    }
    return bands;
}

} // namespace xpcalc
