// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "pictures.h"

#include "text_view.h"

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

QPixmap picture(std::string_view name, qreal devicePixelRatio)
{
    const bool dense = devicePixelRatio > 1.0;
    const QString path = QStringLiteral(":/assets/%1%2.png").arg(toQString(name), dense ? "@2x" : "");
    QPixmap pixmap = compiledPng(path);
    if (pixmap.isNull())
        qFatal("no picture at %s: the design names one the program lacks", qPrintable(path));
    pixmap.setDevicePixelRatio(dense ? 2.0 : 1.0);
    return pixmap;
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
