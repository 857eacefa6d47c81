// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "start_up.h"

#include "accessibility.h"
#include "look.h"
#include "pictures.h"
#include "window_switching.h"

#include <QApplication>

namespace xpcalc {

void startUp()
{
    QApplication::setApplicationName(QStringLiteral("xpcalc"));
    QApplication::setApplicationVersion(QStringLiteral(XPCALC_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Kestrow"));
    // Docks and task switchers find the menu entry, and with it the icon, by
    // this name (on X11 by the window class, the application name above).
    QGuiApplication::setDesktopFileName(QStringLiteral(XPCALC_APP_ID));
    // Every window shows the program's icon: decoded once, not at each opening.
    QApplication::setWindowIcon(programIcon());
    applyColourScheme();
    installAccessibility();
    calculatorWindow().show();
}

} // namespace xpcalc
