// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// How the award chart's lettering is set: a serif face with the metrics of
// Times, measured by the pixels it makes where it must be crisp.
#pragma once

#include <QFont>
#include <QString>

#include <utility>
#include <vector>

class QPainter;

namespace xpcalc {

// How the lettering is set. At 1x it is crisp: hinted so that stems fall on
// whole pixels, placed on whole pixels and drawn in solid black. Denser
// screens have pixels enough for smooth lettering.
struct Lettering {
    bool crisp = true;
};

// A face as the rasteriser draws it. Rasterisers differ on hinted type this
// small: the metrics can miss the drawn ink by a pixel, and one rasteriser's
// anti-aliased digits are solid where another's are faint grey. So crisp
// lettering is placed and chosen by the pixels it makes.
struct Face {
    QFont font;
    int inkAboveBaseline = 0; // pixel rows from the ink's top down to the baseline
};

// A serif font with the metrics of Times whose capitals and digits are
// `height` pixels tall.
QFont serifFont(int height, bool bold, bool italic = false);

// `font` made ready to draw: crisp lettering prefers `hinting`, and is at
// most about `height` pixels tall.
Face faceOf(const Lettering &lettering, QFont font, QFont::HintingPreference hinting, int height);

// serifFont() made ready to draw.
Face serif(const Lettering &lettering, int height, bool bold, bool italic = false);

// Draws one line of text with its capitals' top at `top`, anchored at `x` on
// the side `align` gives, narrowed by `condense` (at most 1) where space is short.
void drawLine(QPainter &p, const Lettering &lettering, const QString &text, const Face &face, qreal x,
              Qt::Alignment align, int top, qreal condense = 1.0);

// How much to narrow text, evenly over a grid, so that no text is wider than its room.
qreal condenseToFit(const Face &face, const std::vector<std::pair<QString, qreal>> &textsAndRoom);

} // namespace xpcalc
