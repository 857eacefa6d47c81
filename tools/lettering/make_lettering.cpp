// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Draws the calculator window's three lettering pictures (the title, "Party
// Level (1-20):" and "Total"/"Experience") into assets/, at their natural
// size and at twice that size for high-density screens.
//
//   build/tools/lettering/make_lettering assets
//
// Each picture is near-white wide bold lettering on a slate-blue ground, with
// a soft dark shadow 2 pixels right and 3 down. Every line of lettering is
// fitted to the exact pixel box it must fill, so the pictures do not depend on
// the metrics of whichever bold sans-serif face the machine has.
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <vector>

namespace {

const QColor kGround(132, 152, 179);
const QColor kLettering(248, 248, 248);
const QColor kShadow(24, 28, 40);
constexpr QPointF kShadowOffset(2, 3);

// One line of lettering and the box (in picture pixels) its letters fill. A
// line that matches the one before takes its letter size instead, and stands
// at the top right of its box.
struct Line {
    QString text;
    QRectF box;
    bool matchPrevious = false;
};

struct Picture {
    const char *name;
    QSize size;
    std::vector<Line> lines;
};

QPainterPath naturalPath(const QString &text)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(64); // drawn large, then fitted to its box
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

QPainterPath letteringPath(const std::vector<Line> &lines)
{
    QPainterPath letters;
    QSizeF scale;
    for (const Line &line : lines) {
        const QPainterPath path = naturalPath(line.text);
        const QRectF bounds = path.boundingRect();
        if (!line.matchPrevious)
            scale = QSizeF(line.box.width() / bounds.width(), line.box.height() / bounds.height());
        const qreal left = line.matchPrevious ? line.box.right() - bounds.width() * scale.width() : line.box.left();
        QTransform fit;
        fit.translate(left, line.box.top());
        fit.scale(scale.width(), scale.height());
        fit.translate(-bounds.left(), -bounds.top());
        letters.addPath(fit.map(path));
    }
    return letters;
}

// A soft shadow: the letters' shape, spread by a small box blur.
QImage shadowLayer(const QPainterPath &letters, QSize size, qreal scale)
{
    QImage sharp(size, QImage::Format_ARGB32_Premultiplied);
    sharp.fill(Qt::transparent);
    {
        QPainter p(&sharp);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        p.translate(kShadowOffset);
        p.fillPath(letters, kShadow);
    }
    const int radius = scale > 1 ? 2 : 1;
    QImage soft(size, QImage::Format_ARGB32_Premultiplied);
    soft.fill(Qt::transparent);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            int alpha = 0;
            int samples = 0;
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    const QPoint at(x + dx, y + dy);
                    alpha += sharp.rect().contains(at) ? qAlpha(sharp.pixel(at)) : 0;
                    ++samples;
                }
            }
            const int a = std::min(255, alpha * 3 / (samples * 2));
            soft.setPixelColor(x, y, QColor(kShadow.red(), kShadow.green(), kShadow.blue(), a));
        }
    }
    return soft;
}

QImage draw(const Picture &picture, int scale)
{
    const QPainterPath letters = letteringPath(picture.lines);

    const QSize size = picture.size * scale;
    QImage image(size, QImage::Format_RGB32);
    image.fill(kGround);
    QPainter p(&image);
    p.drawImage(0, 0, shadowLayer(letters, size, scale));
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    p.fillPath(letters, kLettering);
    p.end();
    image.setDevicePixelRatio(scale);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        qCritical("usage: make_lettering ASSETS_DIR");
        return 2;
    }
    const QDir assets(QString::fromLocal8Bit(argv[1]));

    // The boxes are where the letters stand; the shadow falls beyond them.
    const std::vector<Picture> pictures = {
        {"title",
         {217, 43},
         {{"Kestrow's 3rd Edition D&D", {4, 2, 205, 14}}, {"Experience Calculator", {4, 19, 205, 14}}}},
        {"total", {82, 38}, {{"Experience", {3, 20, 72, 14}}, {"Total", {3, 2, 72, 14}, true}}},
        {"party_level", {127, 21}, {{"Party Level (1-20):", {2, 2, 116, 9}}}},
    };
    for (const Picture &picture : pictures) {
        for (int scale : {1, 2}) {
            const QString file = QStringLiteral("%1%2.png").arg(QLatin1String(picture.name), scale == 2 ? "@2x" : "");
            // Stored without compression: the window decodes these at start-up,
            // and the program's resources compress them better and faster.
            constexpr int kUncompressed = 100;
            if (!draw(picture, scale).save(assets.filePath(file), "png", kUncompressed)) {
                qCritical("cannot write %s", qPrintable(assets.filePath(file)));
                return 1;
            }
        }
    }
    return 0;
}
