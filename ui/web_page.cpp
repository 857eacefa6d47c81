// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "web_page.h"

#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QWindow>

#include <emscripten/val.h>

namespace xpcalc {

void settleIntoWebPage()
{
    const QDir faces(QStringLiteral(":/faces"));
    for (const QString &face : faces.entryList(QDir::Files, QDir::Name))
        if (QFontDatabase::addApplicationFont(faces.filePath(face)) < 0)
            qWarning("The embedded face %s could not be read", qPrintable(face));
    // Hinted as desktops hint them by default (fontconfig's "slight"), not
    // fully, as FreeType alone would.
    QFont font = QGuiApplication::font();
    font.setHintingPreference(QFont::PreferVerticalHinting);
    QGuiApplication::setFont(font);

    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, qGuiApp, [](QWindow *window) {
        if (window != nullptr && !window->title().isEmpty())
            emscripten::val::global("document").set("title", window->title().toStdString());
    });
}

} // namespace xpcalc
