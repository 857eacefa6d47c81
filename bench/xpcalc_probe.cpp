// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The calculator's own start-up, reporting its first paint.
#include "first_paint_probe.h"
#include "start_up.h"
#include "window_switching.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    xpcalc::startUp();
    new FirstPaintProbe(xpcalc::calculatorWindow().window());
    return QApplication::exec();
}
