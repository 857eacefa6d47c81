#include "system_colours.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace xpcalc {
namespace {

// The system colour of an index on Windows; elsewhere the value the Windows
// default scheme gives it.
Rgb systemColour([[maybe_unused]] int index, [[maybe_unused]] Rgb defaultScheme) noexcept
{
#ifdef _WIN32
    const COLORREF colour = GetSysColor(index);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
#else
    return defaultScheme;
#endif
}

constexpr int kCaptionText = 9;   // COLOR_CAPTIONTEXT
constexpr int kActiveBorder = 10; // COLOR_ACTIVEBORDER

} // namespace

Rgb activeBorderColour() noexcept { return systemColour(kActiveBorder, {180, 180, 180}); }

Rgb activeTitleTextColour() noexcept { return systemColour(kCaptionText, {255, 255, 255}); }

} // namespace xpcalc
