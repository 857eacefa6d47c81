// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "design.h"

#include <QString>
#include <QWidget>

#include <vector>

namespace xpcalc {

// Building a window's controls from its design (design/design.h).

// A control's name and text as the design gives them, a family member's
// number included.
QString designName(const ControlDesign &control);
QString designText(const ControlDesign &control);
QString designAccessibleName(const ControlDesign &control);
QString designName(const WindowDesign &window);
QString designCaption(const WindowDesign &window);
QString designAccessibleName(const WindowDesign &window);

// Makes the control of a kind that only one window has, the award chart.
using ControlMaker = QWidget *(*)(QWidget *parent);

// Creates the window's controls from their design, in its order: each of its
// kind, named, placed, lettered and coloured as designed, inside its frame
// or the window. A chart is made by makeChart, which a window without one
// leaves out. Returns them in the design's order.
std::vector<QWidget *> buildControls(QWidget *window, const ControlDesign *controls, std::size_t count,
                                     ControlMaker makeChart = nullptr);

// A built control as the class its kind makes: a fault of the design, if
// not, stops the program at once.
template <class Widget> Widget *as(QWidget *control)
{
    auto *widget = qobject_cast<Widget *>(control);
    if (widget == nullptr)
        qFatal("%s is not a %s", qPrintable(control->objectName()), Widget::staticMetaObject.className());
    return widget;
}

} // namespace xpcalc
