// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "calculator_design.h"
#include "chart_design.h"
#include "design.h"

#include <QApplication>
#include <QLineEdit>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <QtTest>

#include <memory>
#include <string>
#include <string_view>

// A window's control by its role as the export and the scenario write it
// ("count", "showChart"), a count box or its label by its challenge rating
// too, looked up in the design of the window its objectName names. A control
// the window lacks ends the test program: a test must not quietly skip one.
template <class Widget = QWidget> Widget *control(const QWidget *window, std::string_view role, int challengeRating = 0)
{
    QString name;
    const auto lookUp = [&](const auto &controls) {
        for (const xpcalc::ControlDesign &design : controls)
            if (xpcalc::roleName(design.role) == role && design.number == challengeRating)
                name = QString::fromStdString(xpcalc::nameOf(design));
    };
    if (window->objectName().toStdString() == xpcalc::kCalculatorWindow.name)
        lookUp(xpcalc::kCalculatorControls);
    else
        lookUp(xpcalc::kChartControls);
    auto *widget = name.isEmpty() ? nullptr : window->findChild<Widget *>(name);
    if (widget == nullptr)
        qFatal("%s has no %s control %d of class %s", qPrintable(window->objectName()), std::string(role).c_str(),
               challengeRating, Widget::staticMetaObject.className());
    return widget;
}

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

inline QWidgetList visibleWindows()
{
    QWidgetList visible;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible())
            visible << window;
    return visible;
}

inline QMessageBox *shownWarning() { return qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); }

// The calculator's boxes and its Calculate button, as a user reaches them.
struct Calculator {
    const QWidget *window;
    QLineEdit *count(int cr) const { return control<QLineEdit>(window, xpcalc::Role::Count, cr); }
    QLineEdit *level() const { return control<QLineEdit>(window, xpcalc::Role::PartyLevel); }
    QLineEdit *total() const { return control<QLineEdit>(window, xpcalc::Role::Total); }
    void calculate() const { QTest::mouseClick(control<QPushButton>(window, xpcalc::Role::Calculate), Qt::LeftButton); }
    // The counts (by challenge rating; the other boxes as they are) and the level set, then calculated.
    void calculate(const QMap<int, QString> &counts, const QString &levelText) const
    {
        for (auto typed = counts.cbegin(); typed != counts.cend(); ++typed)
            count(typed.key())->setText(typed.value());
        level()->setText(levelText);
        calculate();
    }
};
