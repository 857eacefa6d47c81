// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "system_colours.h"

#include <algorithm>
#include <cmath>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace xpcalc {

namespace {

// As a new Windows 10 profile has it.
constexpr std::array<SchemeColour, 31> kDefaultScheme{{
    {"Scrollbar", {200, 200, 200}},
    {"Background", {0, 0, 0}},
    {"ActiveTitle", {153, 180, 209}},
    {"InactiveTitle", {191, 205, 219}},
    {"Menu", {240, 240, 240}},
    {"Window", {255, 255, 255}},
    {"WindowFrame", {100, 100, 100}},
    {"MenuText", {0, 0, 0}},
    {"WindowText", {0, 0, 0}},
    {"TitleText", {255, 255, 255}},
    {"ActiveBorder", {180, 180, 180}},
    {"InactiveBorder", {244, 247, 252}},
    {"AppWorkspace", {171, 171, 171}},
    {"Hilight", {0, 120, 215}},
    {"HilightText", {255, 255, 255}},
    {"ButtonFace", {240, 240, 240}},
    {"ButtonShadow", {160, 160, 160}},
    {"GrayText", {109, 109, 109}},
    {"ButtonText", {0, 0, 0}},
    {"InactiveTitleText", {0, 0, 0}},
    {"ButtonHilight", {255, 255, 255}},
    {"ButtonDkShadow", {105, 105, 105}},
    {"ButtonLight", {227, 227, 227}},
    {"InfoText", {0, 0, 0}},
    {"InfoWindow", {255, 255, 225}},
    {"ButtonAlternateFace", {0, 0, 0}},
    {"HotTrackingColor", {0, 102, 204}},
    {"GradientActiveTitle", {185, 209, 234}},
    {"GradientInactiveTitle", {215, 228, 242}},
    {"MenuHilight", {0, 120, 215}},
    {"MenuBar", {240, 240, 240}},
}};

// Read by index: each colour the windows draw with must stand at its own.
constexpr std::pair<SystemColour, const char *> kDrawnWith[] = {
    {SystemColour::Window, "Window"},
    {SystemColour::WindowText, "WindowText"},
    {SystemColour::CaptionText, "TitleText"},
    {SystemColour::ActiveBorder, "ActiveBorder"},
    {SystemColour::AppWorkspace, "AppWorkspace"},
    {SystemColour::Highlight, "Hilight"},
    {SystemColour::HighlightText, "HilightText"},
    {SystemColour::ButtonFace, "ButtonFace"},
    {SystemColour::ButtonShadow, "ButtonShadow"},
    {SystemColour::GrayText, "GrayText"},
    {SystemColour::ButtonText, "ButtonText"},
    {SystemColour::ButtonHighlight, "ButtonHilight"},
    {SystemColour::ButtonDarkShadow, "ButtonDkShadow"},
    {SystemColour::ButtonLight, "ButtonLight"},
    {SystemColour::InfoText, "InfoText"},
    {SystemColour::InfoBackground, "InfoWindow"},
    {SystemColour::GradientActiveTitle, "GradientActiveTitle"},
};

constexpr bool sameText(const char *a, const char *b)
{
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

constexpr bool eachStandsAtItsIndex()
{
    for (const auto &[which, registryName] : kDrawnWith) {
        const auto index = static_cast<std::size_t>(which);
        if (index >= kDefaultScheme.size() || !sameText(kDefaultScheme[index].registryName, registryName))
            return false;
    }
    return true;
}
static_assert(eachStandsAtItsIndex(), "the default scheme's rows are out of Windows' index order");

} // namespace

const std::array<SchemeColour, 31> &defaultScheme() noexcept { return kDefaultScheme; }

Rgb defaultSchemeColour(SystemColour which) noexcept { return kDefaultScheme[static_cast<std::size_t>(which)].value; }

Rgb systemColour(SystemColour which) noexcept
{
#ifdef _WIN32
    const COLORREF colour = GetSysColor(static_cast<int>(which));
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
#else
    return defaultSchemeColour(which);
#endif
}

namespace {

// The relative luminance of a colour in sRGB, 0 (black) to 1 (white).
double luminance(Rgb colour) noexcept
{
    const auto linear = [](std::uint8_t channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) + 0.0722 * linear(colour.blue);
}

} // namespace

double contrastRatio(Rgb a, Rgb b) noexcept
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb readableText(Rgb designed, Rgb ground, Rgb schemeText) noexcept
{
    return contrastRatio(designed, ground) >= kReadableContrast ? designed : schemeText;
}

} // namespace xpcalc
