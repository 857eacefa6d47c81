#pragma once

#include <cstdint>

namespace xpcalc {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// The two system colours the windows use by index. On Windows they are read
// from the system, so they follow the user's colour scheme; elsewhere they
// are the values of the Windows default scheme.

// System colour 10, the border of the active window: the calculator's ground.
Rgb activeBorderColour() noexcept;

// System colour 9, the text of the active title bar: the chart box's ground.
Rgb activeTitleTextColour() noexcept;

} // namespace xpcalc
