// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "calculator_design.h"
#include "chart_design.h"
#include "design.h"

#include <QWidget>
#include <QtTest>

#include <memory>
#include <string>
#include <string_view>

// What the window tests share: finding a control by what it does, as the
// designs' export and the scenario name it, and a window on the screen to
// drive.

namespace window_test {

inline QString fromView(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// Calls use with the design table of the window, which its name (its
// objectName) tells; a window built from no design ends the test program.
template <class Use> auto withDesignOf(const QWidget *window, Use use)
{
    const QString name = window->objectName();
    if (name == fromView(xpcalc::kCalculatorWindow.name))
        return use(xpcalc::kCalculatorControls);
    if (name == fromView(xpcalc::kChartWindow.name))
        return use(xpcalc::kChartControls);
    qFatal("no design for a window named %s", qPrintable(name));
}

template <class Widget> Widget *found(const QWidget *window, const QString &name, std::string_view role, int number)
{
    auto *widget = name.isEmpty() ? nullptr : window->findChild<Widget *>(name);
    if (widget == nullptr)
        qFatal("%s has no %s control%s of class %s", qPrintable(window->objectName()), std::string(role).c_str(),
               number == 0 ? "" : qPrintable(QStringLiteral(" for CR %1").arg(number)),
               Widget::staticMetaObject.className());
    return widget;
}

} // namespace window_test

// A window's control by its role as the export and the scenario write it
// ("count", "showChart"), and a count box or its label by its challenge
// rating too; the window's design table maps that to the control's name. A
// control the window does not have ends the test program at once: a test
// must not quietly skip a control it means.
template <class Widget = QWidget> Widget *control(const QWidget *window, std::string_view role, int challengeRating = 0)
{
    const QString name = window_test::withDesignOf(window, [&](const auto &controls) {
        for (const xpcalc::ControlDesign &design : controls)
            if (xpcalc::roleName(design.role) == role && design.number == challengeRating)
                return QString::fromStdString(xpcalc::nameOf(design));
        return QString();
    });
    return window_test::found<Widget>(window, name, role, challengeRating);
}

// The same by the design's role.
template <class Widget = QWidget> Widget *control(const QWidget *window, xpcalc::Role role, int challengeRating = 0)
{
    return control<Widget>(window, xpcalc::roleName(role), challengeRating);
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
