// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "pictures.h"

#include <QImageReader>

namespace xpcalc {
namespace {

// A picture compiled into the program. Named as the PNG it is, so that the
// reader does not load every image plugin installed to ask each whether it
// knows the format better, which would slow start-up by milliseconds.
QPixmap compiledPng(const QString &path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

QPixmap picture(Picture which, qreal devicePixelRatio)
{
    const char *name = "";
    switch (which) {
    case Picture::Title:
        name = "title";
        break;
    case Picture::Total:
        name = "total";
        break;
    case Picture::PartyLevel:
        name = "party_level";
        break;
    }
    const bool dense = devicePixelRatio > 1.0;
    QPixmap pixmap = compiledPng(QStringLiteral(":/assets/%1%2.png").arg(QLatin1String(name), dense ? "@2x" : ""));
    pixmap.setDevicePixelRatio(dense ? 2.0 : 1.0);
    return pixmap;
}

QString lettering(Picture which)
{
    switch (which) {
    case Picture::Title:
        return QStringLiteral("Kestrow's 3rd Edition D&D Experience Calculator");
    case Picture::Total:
        return QStringLiteral("Total Experience");
    case Picture::PartyLevel:
        return QStringLiteral("Party Level (1-20):");
    }
    return {};
}

QIcon programIcon()
{
    QIcon icon;
    // The sizes title bars and task bars ask for; the larger ones are only
    // for the installed icon theme, and would slow start-up for nothing.
    for (const int size : {16, 32, 48, 64})
        icon.addPixmap(compiledPng(QStringLiteral(":/assets/icons/%1.png").arg(size)));
    return icon;
}

} // namespace xpcalc
