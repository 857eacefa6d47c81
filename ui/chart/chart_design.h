// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "design.h"

#include <array>

namespace xpcalc {

// The chart window's design. A screen reader meets the chart, then the
// explanation, the rule-book pointer and the button. The button is the one
// control that does anything, so the focus starts there.
inline constexpr WindowDesign kChartWindow{
    "Form2",
    "Kestrow's Experience Calculator",
    "Kestrow's Experience Calculator: award chart",
    6720,
    5535,
    true,
    Typeface::Small,
    "Command1",
};

// The chart window's controls, in the order the window creates them.
// clang-format off
inline constexpr std::array<ControlDesign, 4> kChartControls{{
    {"Command1", 0, Kind::Button, {}, {4200, 3480, 2295, 615}, 3, Typeface::SmallBold,
     "Click here to return to the Calculator"},
    {"Picture1", 0, Kind::Chart, {}, {0, 120, 3975, 5175}, 0, Typeface::None, {}},
    {"Label2", 0, Kind::Label, {}, {4080, 4320, 2535, 975}, 2, Typeface::SmallItalic,
     "For more information on earning experience, please refer to the Dungeons and Dragons 3rd Edition Dungeon "
     "Master's Guide."},
    {"Label1", 0, Kind::Label, {}, {4080, 240, 2535, 3015}, 1, Typeface::Small,
     "This chart shows how the experience points are awarded based on party level and challenge rating.  As you can "
     "see, some challenge ratings are unreachable at lower party levels, which is why no award is defined.  At "
     "higher party levels, the lower challenge ratings do not offer a reward.  This is because it would be nothing "
     "for a 20th level party to kill a group of CR 2 monsters."},
}};
// clang-format on

static_assert(tabIndicesAreUnique(kChartControls));
static_assert(namesAreUnique(kChartControls));
static_assert(controlsFitTheirContainers(kChartWindow, kChartControls));
static_assert(opensOnAFocusStop(kChartWindow, kChartControls));

} // namespace xpcalc
