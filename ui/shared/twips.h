// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "design.h"

#include <QRect>

namespace xpcalc {

// The one place that turns the designs' twips into pixels (which Qt scales
// on dense screens), each figure rounded down.
constexpr QRect toPixels(TwipsRect r)
{
    return {r.left / kTwipsPerPixel, r.top / kTwipsPerPixel, r.width / kTwipsPerPixel, r.height / kTwipsPerPixel};
}

constexpr QSize toPixels(int widthTwips, int heightTwips)
{
    return {widthTwips / kTwipsPerPixel, heightTwips / kTwipsPerPixel};
}

constexpr QSize clientSize(const WindowDesign &window) { return toPixels(window.width, window.height); }

} // namespace xpcalc
