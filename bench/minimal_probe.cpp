// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The yardsticks: the least a Qt program can do to show a window of the
// calculator's size, reporting its first paint. Given the argument "text",
// the window also shows one line of text, which costs Qt its font set-up.
#include "first_paint_probe.h"

#include <QApplication>
#include <QLabel>

#include <cstring>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(450, 371);
    if (argc > 1 && std::strcmp(argv[1], "text") == 0)
        new QLabel(QStringLiteral("Kestrow's Experience Calculator"), &window);
    window.show();
    new FirstPaintProbe(&window);
    return QApplication::exec();
}
