// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>
#include <QtTest>

#include <memory>

// What the window tests share: finding a control as scripts and screen
// readers do, by its name, and a window on the screen to drive.

// A window's control by its name. A name the window does not have ends the
// test program at once: a test must not quietly skip a control it means.
template <class Widget = QWidget> Widget *control(const QWidget *window, const QString &name)
{
    auto *widget = window->findChild<Widget *>(name);
    if (widget == nullptr)
        qFatal("%s has no control named %s", qPrintable(window->objectName()), qPrintable(name));
    return widget;
}

// A window of a class, shown and on the screen.
template <class Window> std::unique_ptr<Window> shownWindow()
{
    auto window = std::make_unique<Window>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qFatal("%s did not come on the screen", qPrintable(window->objectName()));
    return window;
}
