#include "look.h"

#include "system_colours.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace xpcalc {

QFont verdana(qreal points, QFont::Weight weight, QFont::Style style)
{
    constexpr qreal kPixelsPerPoint = 96.0 / 72.0;
    QFont font(QStringLiteral("Verdana"));
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(qRound(points * kPixelsPerPoint));
    font.setWeight(weight);
    font.setStyle(style);
    return font;
}

QColor toQColor(const Rgb &rgb) { return {rgb.red, rgb.green, rgb.blue}; }

void setGround(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

QColor buttonFace() { return QApplication::palette().color(QPalette::Button); }

} // namespace xpcalc
