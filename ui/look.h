#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace xpcalc {

struct Rgb;

// Fonts and colours shared by the two windows.

// Verdana at a size in points, or DejaVu Sans where Verdana is not installed.
// Sized in pixels at 96 dots per inch (8.25 pt is 11 px), so the lettering
// keeps its proportion to the pixel layout; Qt scales both on dense screens.
QFont verdana(qreal points, QFont::Weight weight = QFont::Normal, QFont::Style style = QFont::StyleNormal);

QColor toQColor(const Rgb &rgb);

// Fills a widget's background with a colour, as an opaque control does.
void setGround(QWidget *widget, const QColor &colour);

// The platform's button face, the ground of labels, buttons, frames and
// picture boxes.
QColor buttonFace();

} // namespace xpcalc
