// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "look.h"

#include "design.h"
#include "system_colours.h"

#include <QApplication>
#include <QFontDatabase>
#include <QToolTip>
#include <QWidget>

namespace xpcalc {

Rgb toRgb(const QColor &colour)
{
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

namespace {

constexpr qreal kPixelsPerPoint = 96.0 / 72.0;

// The first of the faces that is installed, or the last. Asking for only a
// face that is there spares the font matcher a search for each missing one
// (and checking the list, rather than asking for each face by name, spares it
// the same search again), which would otherwise cost a good part of start-up.
QString installedFace(const QStringList &faces)
{
    const QStringList installed = QFontDatabase::families();
    for (const QString &face : faces)
        if (installed.contains(face, Qt::CaseInsensitive))
            return face;
    return faces.back();
}

} // namespace

QFont verdana(qreal points, QFont::Weight weight, QFont::Style style)
{
    static const QString face = installedFace({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    QFont font(face);
    font.setPixelSize(qRound(points * kPixelsPerPoint));
    font.setWeight(weight);
    font.setStyle(style);
    return font;
}

QFont fontFor(Typeface face)
{
    constexpr qreal kSmall = 8.25; // points
    constexpr qreal kLarge = 9.75;
    switch (face) {
    case Typeface::None:
    case Typeface::WindowFont:
        return windowFont();
    case Typeface::Small:
        return verdana(kSmall);
    case Typeface::SmallBold:
        return verdana(kSmall, QFont::Bold);
    case Typeface::SmallItalic:
        return verdana(kSmall, QFont::Normal, QFont::StyleItalic);
    case Typeface::Large:
        return verdana(kLarge);
    case Typeface::LargeBold:
        return verdana(kLarge, QFont::Bold);
    }
    return windowFont();
}

QFont windowFont()
{
    constexpr qreal kPoints = 8.0;
    static const QString face = installedFace(
        {QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"), QStringLiteral("DejaVu Sans")});
    QFont font(face);
    font.setPixelSize(qRound(kPoints * kPixelsPerPoint));
    return font;
}

QColor schemeColour(SystemColour which)
{
    const Rgb rgb = systemColour(which);
    return {rgb.red, rgb.green, rgb.blue};
}

QPalette schemePalette()
{
    const QColor face = schemeColour(SystemColour::ButtonFace);
    QPalette palette(schemeColour(SystemColour::ButtonText), face, schemeColour(SystemColour::ButtonLight),
                     schemeColour(SystemColour::ButtonShadow), schemeColour(SystemColour::ButtonShadow),
                     schemeColour(SystemColour::WindowText), schemeColour(SystemColour::ButtonHighlight),
                     schemeColour(SystemColour::Window), face);
    palette.setColor(QPalette::ButtonText, schemeColour(SystemColour::ButtonText));
    palette.setColor(QPalette::Light, schemeColour(SystemColour::ButtonHighlight));
    palette.setColor(QPalette::Shadow, schemeColour(SystemColour::ButtonDarkShadow));
    palette.setColor(QPalette::Highlight, schemeColour(SystemColour::Highlight));
    palette.setColor(QPalette::HighlightedText, schemeColour(SystemColour::HighlightText));
    palette.setColor(QPalette::ToolTipBase, schemeColour(SystemColour::InfoBackground));
    palette.setColor(QPalette::ToolTipText, schemeColour(SystemColour::InfoText));
    palette.setColor(QPalette::PlaceholderText, schemeColour(SystemColour::GrayText));
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, schemeColour(SystemColour::GrayText));
    return palette;
}

void applyColourScheme()
{
    const QPalette scheme = schemePalette();
    QApplication::setPalette(scheme);
    QToolTip::setPalette(scheme);
}

void setGround(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void setTextColour(QWidget *widget, const QColor &designed)
{
    QPalette palette = widget->palette();
    const Rgb text =
        readableText(toRgb(designed), toRgb(palette.color(QPalette::Window)), systemColour(SystemColour::ButtonText));
    palette.setColor(QPalette::WindowText, QColor(text.red, text.green, text.blue));
    widget->setPalette(palette);
}

QColor buttonFace() { return schemeColour(SystemColour::ButtonFace); }

} // namespace xpcalc
