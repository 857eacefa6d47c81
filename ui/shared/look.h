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
struct Rgb;

// Fonts and colours shared by the two windows.

// Verdana at a size in points, or DejaVu Sans where Verdana is not installed.
// Sized in pixels at 96 dots per inch (8.25 pt is 11 px), so the lettering
// keeps its proportion to the pixel layout; Qt scales both on dense screens.
QFont verdana(qreal points, QFont::Weight weight = QFont::Normal, QFont::Style style = QFont::StyleNormal);

// The platform's default window font at its fixed size, an 8 pt sans serif,
// whatever size the desktop asks for: the count boxes are sized for it.
QFont windowFont();

// A face of the designs: Verdana at 8.25 pt (small) or 9.75 pt (large), or
// the window font.
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

} // namespace xpcalc
