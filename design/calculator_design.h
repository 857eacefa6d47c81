// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "award_table.h"
#include "design.h"
#include "experience_calculation.h"

#include <array>

namespace xpcalc {

// The calculator window's design. The focus runs through the controls that
// take it in ascending tab index: the count boxes, the party level,
// "Calculate Experience", the total and "XP Chart"; the picture boxes take
// none, since they show lettering and react to nothing.
inline constexpr WindowDesign kCalculatorWindow{
    "Form1",          kProgramName, "calculator", 6750, 5565, false, Typeface::WindowFont, Paint::CalculatorGround,
    {Role::Count, 1},
};

namespace calculator_design {

constexpr int kFamily = kChallengeRatings; // a count box and a label each
constexpr int kPerColumn = kFamily / 2;
constexpr std::int32_t kLinkBlue = 0x0000FF;
constexpr std::int32_t kBlack = 0x000000;
constexpr std::int32_t kCreditYellow = 0xFFFFC0;

// The two families: challenge ratings 1 to 10 in the left column, 11 to 20 in
// the right, each count box with its "CR" label just to its right.
constexpr int familyTop(int rating) { return 120 + 480 * ((rating - 1) % kPerColumn); }
constexpr bool leftColumn(int rating) { return rating <= kPerColumn; }
// clang-format off
constexpr ControlDesign countBox(int rating)
{
    return {Role::Count, "cr", rating, Kind::TextBox, {}, {leftColumn(rating) ? 120 : 1320, familyTop(rating), 375, 375},
            rating - 1, Typeface::WindowFont, "0", "Encounters at CR "};
}
constexpr ControlDesign countLabel(int rating)
{
    return {Role::CountLabel, "Label", rating, Kind::Label, {}, {leftColumn(rating) ? 600 : 1800, familyTop(rating), 495, 375},
            rating + 19, Typeface::Small, "CR"};
}
// clang-format on

constexpr std::array<ControlDesign, 13 + 2 * kFamily> controls()
{
    std::array<ControlDesign, 13 + 2 * kFamily> c{};
    std::size_t i = 0;
    // clang-format off
    c[i++] = {Role::Title, "Picture3", 0, Kind::PictureBox, {}, {2880, 120, 3255, 615}, 49, Typeface::None, "title",
              "Kestrow's 3rd Edition D&D Experience Calculator"};
    c[i++] = {Role::TotalHeading, "Picture2", 0, Kind::PictureBox, {}, {3120, 2160, 1335, 615}, 48, Typeface::None, "total",
              "Total Experience"};
    c[i++] = {Role::PartyLevelHeading, "Picture1", 0, Kind::PictureBox, {}, {3240, 840, 1815, 255}, 47, Typeface::None, "party_level",
              "Party Level (1-20):"};
    c[i++] = {Role::Instructions, "Frame1", 0, Kind::Frame, {}, {2640, 2880, 3855, 1935}, 43, Typeface::SmallBold, "Instructions"};
    c[i++] = {Role::ShowChart, "Command2", 0, Kind::Button, "Frame1", {3000, 1200, 735, 615}, 51, Typeface::Small, "XP Chart"};
    c[i++] = {Role::ChartHint, "Label22", 0, Kind::Label, "Frame1", {120, 1200, 2775, 615}, 52, Typeface::Small,
              "For a more detailed explanation of how experience is calculated, click the XP Chart button."};
    c[i++] = {Role::HowTo, "Label24", 0, Kind::Label, "Frame1", {120, 240, 3615, 855}, 44, Typeface::Small,
              "Enter the total number of encounters for each challenge rating, then enter your party level.  "
              "Finally, click Calculate Experience to determine your total XP."};
    c[i++] = {Role::Total, "totalxp", 0, Kind::TextBox, {}, {4440, 2280, 1455, 375}, 42, Typeface::Large, "0", "Total experience"};
    c[i++] = {Role::Calculate, "Command1", 0, Kind::Button, {}, {3000, 1320, 3015, 615}, 41, Typeface::LargeBold,
              "Calculate Experience"};
    c[i++] = {Role::PartyLevel, "party", 0, Kind::TextBox, {}, {5280, 840, 495, 315}, 40, Typeface::Large, "0", "Party level"};
    for (int rating = kFamily; rating >= 1; --rating)
        c[i++] = countBox(rating);
    c[i++] = {Role::Version, "Label21", 0, Kind::Label, {}, {6120, 480, 375, 375}, 50, Typeface::Small, "v1.1"};
    c[i++] = {Role::Website, "Label27", 0, Kind::Label, {}, {120, 5280, 6375, 255}, 46, Typeface::Small, "www.kestrow.example", {},
              Alignment::Centre, kLinkBlue};
    c[i++] = {Role::Copyright, "Label26", 0, Kind::Label, {}, {120, 5040, 6495, 255}, 45, Typeface::Small, "\u00A9 2026 Kestrow", {},
              Alignment::Centre, kCreditYellow, kBlack};
    for (int rating = kFamily; rating >= 1; --rating)
        c[i++] = countLabel(rating);
    // clang-format on
    return c;
}

} // namespace calculator_design

// The calculator's controls, in the order the window creates them: later
// controls stack above earlier ones where they touch.
inline constexpr auto kCalculatorControls = calculator_design::controls();

static_assert(tabIndicesAreUnique(kCalculatorControls));
static_assert(namesAreUnique(kCalculatorControls));
static_assert(rolesAreUnique(kCalculatorControls));
static_assert(controlsFitTheirContainers(kCalculatorWindow, kCalculatorControls));
static_assert(controlsTouchAtMostByAPixel(kCalculatorControls));
static_assert(opensOnAFocusStop(kCalculatorWindow, kCalculatorControls));

// The box an overflow concerns, where the user is put to change it: the
// count box of its challenge rating, or the party level's.
constexpr std::size_t overflowControl(const OverflowError &error)
{
    return error.site == OverflowError::Site::LevelText
               ? indexOf(kCalculatorControls, Role::PartyLevel)
               : findControl(kCalculatorControls, Role::Count, error.challengeRating);
}

} // namespace xpcalc
