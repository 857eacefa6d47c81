// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "design.h"

#include <QString>
#include <QWidget>

#include <array>
#include <limits>
#include <vector>

namespace xpcalc {

// Building a window's controls from its design (design.h).

// A control's name and text as the design gives them, a family member's
// number included.
QString designName(const ControlDesign &control);
QString designText(const ControlDesign &control);
QString designName(const WindowDesign &window);
QString designCaption(const WindowDesign &window);

// Creates the window's controls from their design, in its order: each of its
// kind, named, placed, lettered and coloured as designed, inside its frame
// or the window. Returns them in the design's order. The focus then chains
// through those that take it in ascending tab index.
std::vector<QWidget *> buildControls(QWidget *window, const ControlDesign *controls, std::size_t count);
template <std::size_t N>
std::vector<QWidget *> buildControls(QWidget *window, const std::array<ControlDesign, N> &controls)
{
    return buildControls(window, controls.data(), N);
}

// A built control as the class its kind makes: a fault of the design, if
// not, stops the program at once.
template <class Widget> Widget *as(QWidget *control)
{
    auto *widget = qobject_cast<Widget *>(control);
    if (widget == nullptr)
        qFatal("%s is not a %s", qPrintable(control->objectName()), Widget::staticMetaObject.className());
    return widget;
}

// A control's tab index, or kNoTabIndex for a widget the design does not
// place (the frame's caption, the announcer): such widgets come last.
constexpr int kNoTabIndex = std::numeric_limits<int>::max();
int tabIndex(const QWidget *control);

} // namespace xpcalc
