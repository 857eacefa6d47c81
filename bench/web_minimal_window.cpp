// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The yardstick for the web page's first paint: the least a Qt program in
// the browser can do to show a window of the calculator's size, in the middle
// of the page, with one line of text, which costs Qt its font set-up.
#include <QApplication>
#include <QLabel>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.resize(450, 371);
    new QLabel(QStringLiteral("Kestrow's Experience Calculator"), &window);
    window.move(QGuiApplication::primaryScreen()->availableGeometry().center() - window.rect().center());
    window.showNormal(); // not filling the page, as Qt for the web would have it
    return QApplication::exec();
}
