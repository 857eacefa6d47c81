// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "chart_lettering.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace xpcalc {
namespace {

// The ink of a line of text drawn at 1x.
struct Ink {
    int top = 0;         // the first pixel row with ink, from the baseline
    int bottom = 0;      // the last
    int solidPixels = 0; // pixels of near-black ink
    int height() const { return bottom - top + 1; }
};

Ink inkOf(const QFont &font, const QString &text)
{
    const QFontMetrics metrics(font);
    constexpr int kMargin = 2;
    QImage image(metrics.horizontalAdvance(text) + 2 * kMargin, metrics.height() + 2 * kMargin, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int baseline = kMargin + metrics.ascent();
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPoint(kMargin, baseline), text);
    }
    Ink ink;
    int top = image.height();
    int bottom = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(line[x]);
            if (grey < 128) {
                top = std::min(top, y);
                bottom = y;
            }
            ink.solidPixels += grey < 96;
        }
    }
    ink.top = top - baseline;
    ink.bottom = bottom - baseline;
    return ink;
}

const QString kCapitalsAndDigits = QStringLiteral("0123456789CHLPR");

// Crisp lettering is anti-aliased with the hinting asked for where that gives
// solid stems, else with the other hinting, else drawn aliased. Gives the ink
// of the capitals and digits as finally set.
Ink makeCrisp(QFont &font, QFont::HintingPreference hinting)
{
    const QFont::HintingPreference other =
        hinting == QFont::PreferFullHinting ? QFont::PreferVerticalHinting : QFont::PreferFullHinting;
    constexpr int kSolidPixelsPerGlyph = 3;
    for (const QFont::HintingPreference candidate : {hinting, other}) {
        font.setHintingPreference(candidate);
        font.setStyleStrategy(QFont::PreferAntialias);
        const Ink ink = inkOf(font, kCapitalsAndDigits);
        if (ink.solidPixels >= kSolidPixelsPerGlyph * kCapitalsAndDigits.size())
            return ink;
    }
    font.setHintingPreference(hinting);
    font.setStyleStrategy(QFont::NoAntialias);
    return inkOf(font, kCapitalsAndDigits);
}

} // namespace

// Smooth lettering stands by its outlines, which its pixels follow. Crisp
// lettering stands by its pixels. Where hinting has made its capitals and
// digits taller than `height`, it steps down a size if that comes closer:
// the rows have no room to spare.
Face faceOf(const Lettering &lettering, QFont font, QFont::HintingPreference hinting, int height)
{
    if (!lettering.crisp)
        return {font, qRound(-QFontMetricsF(font).tightBoundingRect(kCapitalsAndDigits).top())};
    const Ink ink = makeCrisp(font, hinting);
    if (ink.height() > height && font.pixelSize() > 1) {
        QFont smaller = font;
        smaller.setPixelSize(font.pixelSize() - 1);
        const Ink smallerInk = makeCrisp(smaller, hinting);
        if (std::abs(smallerInk.height() - height) < ink.height() - height)
            return {smaller, -smallerInk.top};
    }
    return {font, -ink.top};
}

QFont serifFont(int height, bool bold, bool italic)
{
    QFont font;
    font.setFamilies(
        {QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    font.setStyleHint(QFont::Serif);
    font.setBold(bold);
    font.setItalic(italic);
    font.setPixelSize(100);
    const qreal capsPerPixel = QFontMetricsF(font).capHeight() / 100.0;
    font.setPixelSize(std::max(1, qRound(height / capsPerPixel)));
    return font;
}

Face serif(const Lettering &lettering, int height, bool bold, bool italic)
{
    return faceOf(lettering, serifFont(height, bold, italic), QFont::PreferVerticalHinting, height);
}

void drawLine(QPainter &p, const Lettering &lettering, const QString &text, const Face &face, qreal x,
              Qt::Alignment align, int top, qreal condense)
{
    const qreal width = QFontMetricsF(face.font).horizontalAdvance(text) * condense;
    qreal left = x;
    if (align & Qt::AlignRight)
        left = x - width;
    else if (align & Qt::AlignHCenter)
        left = x - width / 2;
    if (lettering.crisp)
        left = std::round(left);
    p.save();
    p.setFont(face.font);
    p.translate(left, top + face.inkAboveBaseline);
    p.scale(condense, 1.0);
    p.drawText(QPointF(0, 0), text);
    p.restore();
}

qreal condenseToFit(const Face &face, const std::vector<std::pair<QString, qreal>> &textsAndRoom)
{
    const QFontMetricsF metrics(face.font);
    qreal condense = 1.0;
    for (const auto &[text, room] : textsAndRoom)
        condense = std::min(condense, room / metrics.horizontalAdvance(text));
    return condense;
}

} // namespace xpcalc
