// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "web_page.h"

#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QString>

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
}

void announceOnPage(const QString &message, Urgency urgency)
{
    // The page's own script owns the regions; a page without them (Qt's
    // default one) gets nothing.
    const emscripten::val announce = emscripten::val::global("xpcalcAnnounce");
    if (announce.typeOf().as<std::string>() == "function")
        announce(message.toStdString(), urgency == Urgency::Urgent);
}

} // namespace xpcalc
