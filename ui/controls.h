// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "twips.h"

#include <QString>

#include <limits>

class QLabel;
class QWidget;

namespace xpcalc {

// Building the windows' controls from their design: a name, a place and a tab
// index for each.

// A control of the design. Its name becomes the control's object name, by
// which tests, scripts and assistive technology find it; its place is inside
// its parent; its tab index orders it, among all the window's controls, for
// the keyboard and for screen readers.
struct ControlDesign {
    QString name;
    TwipsRect place;
    int tabIndex;
};

// A control's tab index, or kNoTabIndex for a widget the design does not
// place (the frame's caption, the announcer): such widgets come last.
constexpr int kNoTabIndex = std::numeric_limits<int>::max();
int tabIndex(const QWidget *control);

// Names a control, puts it where the design has it and gives it its tab index.
QWidget *placeControl(QWidget *widget, const ControlDesign &design);
template <class Widget> Widget *place(Widget *widget, const ControlDesign &design)
{
    placeControl(widget, design);
    return widget;
}

// Chains the keyboard focus through the window's controls that take it, in
// ascending tab index. Two controls with one tab index are a fault of the
// design tables, and stop the program at once rather than leave an order
// nobody chose.
void chainTabOrder(QWidget *window);

// A label as the design has it: opaque, in button face, its text drawn from
// the top-left corner and wrapped at word boundaries.
QLabel *designLabel(QWidget *parent, const ControlDesign &design, const QString &text);

} // namespace xpcalc
