// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "system_colours.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace xpcalc {

// The colours the windows paint with, named by what they paint. Most come
// from the system's colour scheme, so that they follow the user's on Windows;
// the chart's are fixed, as printed.
enum class Paint {
    Page,             // around the window on the web page
    CalculatorGround, // the calculator window, between its controls
    Face,             // buttons, labels, frames, picture boxes, the chart window
    FaceText,         // their text
    BoxGround,        // text boxes
    BoxText,
    Selection, // selected text's ground
    SelectedText,
    EdgeLight, // the edges of raised and sunken borders, lightest to darkest
    EdgeHighlight,
    EdgeShadow,
    EdgeDarkShadow,
    ChartGround,  // the chart's box
    ChartInk,     // the chart's lettering
    ChartBand,    // the grey bands behind every other group of three levels
    FocusRing,    // the dotted ring around the control with the focus
    WarningTitle, // the title bar of the page's overflow warning, and its text
    WarningTitleText,
};

struct PaintDesign {
    Paint paint;
    std::string_view name;   // as the export and the page's style sheet call it
    SystemColour scheme;     // where it comes from in the scheme,
    std::int32_t fixed = -1; // or else this fixed 0xRRGGBB
};

inline constexpr std::array<PaintDesign, 18> kPaints{{
    {Paint::Page, "page", SystemColour::AppWorkspace},
    {Paint::CalculatorGround, "calculatorGround", SystemColour::ActiveBorder},
    {Paint::Face, "face", SystemColour::ButtonFace},
    {Paint::FaceText, "faceText", SystemColour::ButtonText},
    {Paint::BoxGround, "boxGround", SystemColour::Window},
    {Paint::BoxText, "boxText", SystemColour::WindowText},
    {Paint::Selection, "selection", SystemColour::Highlight},
    {Paint::SelectedText, "selectedText", SystemColour::HighlightText},
    {Paint::EdgeLight, "edgeLight", SystemColour::ButtonLight},
    {Paint::EdgeHighlight, "edgeHighlight", SystemColour::ButtonHighlight},
    {Paint::EdgeShadow, "edgeShadow", SystemColour::ButtonShadow},
    {Paint::EdgeDarkShadow, "edgeDarkShadow", SystemColour::ButtonDarkShadow},
    {Paint::ChartGround, "chartGround", SystemColour::CaptionText},
    {Paint::ChartInk, "chartInk", {}, 0x000000},
    {Paint::ChartBand, "chartBand", {}, 0xE7E7E7},
    {Paint::FocusRing, "focusRing", SystemColour::WindowText},
    {Paint::WarningTitle, "warningTitle", SystemColour::GradientActiveTitle},
    {Paint::WarningTitleText, "warningTitleText", SystemColour::ButtonText},
}};

constexpr bool paintsStandInOrder()
{
    for (std::size_t i = 0; i < kPaints.size(); ++i)
        if (static_cast<std::size_t>(kPaints[i].paint) != i)
            return false;
    return true;
}
static_assert(paintsStandInOrder(), "kPaints lists each paint at its own index");

constexpr const PaintDesign &paintDesign(Paint paint) { return kPaints[static_cast<std::size_t>(paint)]; }

constexpr Rgb rgbOf(std::int32_t colour)
{
    const auto bits = static_cast<std::uint32_t>(colour);
    return {static_cast<std::uint8_t>(bits >> 16U), static_cast<std::uint8_t>(bits >> 8U),
            static_cast<std::uint8_t>(bits)};
}

// A paint as this system draws it: the scheme's colour on Windows, the
// Windows default scheme's elsewhere, or the fixed colour.
inline Rgb paintColour(Paint paint)
{
    const PaintDesign &design = paintDesign(paint);
    return design.fixed >= 0 ? rgbOf(design.fixed) : systemColour(design.scheme);
}

// A paint as the Windows default scheme has it, the same on every system.
inline Rgb defaultPaintColour(Paint paint)
{
    const PaintDesign &design = paintDesign(paint);
    return design.fixed >= 0 ? rgbOf(design.fixed) : defaultSchemeColour(design.scheme);
}

} // namespace xpcalc
