// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

class QWidget;

namespace xpcalc {

enum class Typeface;
enum class SystemColour;
enum class Paint;
struct Rgb;

// Fonts and colours shared by the two windows.

// A face of the designs (design/design.h), in the first of its families that
// is installed, at its size in pixels, which Qt scales on dense screens with
// the pixel layout.
QFont fontFor(Typeface face);

// A Qt colour as the colour scheme's, which has no alpha.
Rgb toRgb(const QColor &colour);

// A system colour of the one colour scheme both windows use.
QColor schemeColour(SystemColour which);

// The colour scheme as a palette.
QPalette schemePalette();

// Makes the colour scheme the palette of the whole program, windows, message
// boxes and tooltips alike, in place of the desktop theme's. One palette
// shared by every window also lets the style reuse what it has drawn.
void applyColourScheme();

// Fills a widget's background with a colour, as an opaque control does.
void setGround(QWidget *widget, const QColor &colour);

// Gives a widget's text a colour of the design, or the scheme's text colour
// where the design's would be hard to read on the widget's ground.
void setTextColour(QWidget *widget, const QColor &designed);

// The button face, the ground of labels, buttons, frames and picture boxes.
QColor buttonFace();

// A colour of the designs, by what it paints (design/colours.h).
QColor paint(Paint which);

} // namespace xpcalc
