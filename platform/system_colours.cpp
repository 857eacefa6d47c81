#include "system_colours.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace xpcalc {
namespace {

#ifdef _WIN32
Rgb systemColour(int index) noexcept
{
    const COLORREF colour = GetSysColor(index);
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}
#endif

} // namespace

Rgb activeBorderColour() noexcept
{
#ifdef _WIN32
    return systemColour(COLOR_ACTIVEBORDER);
#else
    return {180, 180, 180};
#endif
}

Rgb activeTitleTextColour() noexcept
{
#ifdef _WIN32
    return systemColour(COLOR_CAPTIONTEXT);
#else
    return {255, 255, 255};
#endif
}

} // namespace xpcalc
