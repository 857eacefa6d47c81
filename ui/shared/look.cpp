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

// The first of a face's families that is installed, or the last. Asking for
// only a face that is there spares the font matcher a search for each missing
// one (and checking the list, rather than asking for each face by name,
// spares it the same search again), which would otherwise cost a good part of
// start-up.
QString installedFamily(const FontFace &face)
{
    static const QStringList installed = QFontDatabase::families();
    QString last;
    for (const std::string_view family : face.families) {
        if (family.empty())
            continue;
        last = QString::fromUtf8(family.data(), static_cast<qsizetype>(family.size()));
        if (installed.contains(last, Qt::CaseInsensitive))
            return last;
    }
    return last;
}

} // namespace

QFont fontFor(Typeface typeface)
{
    const FontFace face = faceOf(typeface);
    QFont font(installedFamily(face));
    font.setPixelSize(face.pixelSize);
    font.setBold(face.bold);
    font.setItalic(face.italic);
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

QColor buttonFace() { return paint(Paint::Face); }

QColor paint(Paint which)
{
    const Rgb rgb = paintColour(which);
    return {rgb.red, rgb.green, rgb.blue};
}

} // namespace xpcalc
