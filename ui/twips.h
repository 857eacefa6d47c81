// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>

namespace xpcalc {

// The windows are designed in twips, 1/1440 inch: at 96 dots per inch, 15
// twips make one pixel. Layout tables keep the design's figures; this is the
// one place that turns them into pixels (which Qt scales on dense screens).
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

constexpr int kTwipsPerPixel = 15;

constexpr QRect toPixels(TwipsRect r)
{
    return {r.left / kTwipsPerPixel, r.top / kTwipsPerPixel, r.width / kTwipsPerPixel, r.height / kTwipsPerPixel};
}

constexpr QSize toPixels(int widthTwips, int heightTwips)
{
    return {widthTwips / kTwipsPerPixel, heightTwips / kTwipsPerPixel};
}

} // namespace xpcalc
