#include "system_colours.h"

#include <algorithm>
#include <cmath>

#ifdef _WIN32
#include <windows.h>
#endif

namespace xpcalc {

Rgb defaultSchemeColour(SystemColour which) noexcept
{
    switch (which) {
    case SystemColour::Window:
    case SystemColour::CaptionText:
    case SystemColour::HighlightText:
    case SystemColour::ButtonHighlight:
        return {255, 255, 255};
    case SystemColour::WindowText:
    case SystemColour::ButtonText:
    case SystemColour::InfoText:
        return {0, 0, 0};
    case SystemColour::ActiveBorder:
        return {180, 180, 180};
    case SystemColour::Highlight:
        return {0, 120, 215};
    case SystemColour::ButtonFace:
        return {240, 240, 240};
    case SystemColour::ButtonShadow:
        return {160, 160, 160};
    case SystemColour::GrayText:
        return {109, 109, 109};
    case SystemColour::ButtonDarkShadow:
        return {105, 105, 105};
    case SystemColour::ButtonLight:
        return {227, 227, 227};
    case SystemColour::InfoBackground:
        return {255, 255, 225};
    }
    return {};
}

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
