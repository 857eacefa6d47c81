// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "qt_notices.h"
#include "start_up.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Before Qt starts the threads that may log: the filter is then in place
    // for every message, and set up while no other thread can log.
    xpcalc::quietHarmlessQtNotices();
    QApplication app(argc, argv);
    xpcalc::startUp();
    return QApplication::exec();
}
