// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QWidget>

namespace xpcalc {

// One of the program's two windows, reachable from anywhere: built on demand
// from its design, and at any moment either loaded (it and its controls
// exist) or not.
class SwitchedWindow {
public:
    using Factory = QWidget *(*)();
    explicit SwitchedWindow(Factory create) : m_create(create) {}

    // Builds the window afresh from its design, unless it is loaded.
    QWidget *load();
    // Destroys the window and its controls, discarding what was typed. Safe
    // from the window's own button handler: the window is hidden at once and
    // deleted when control is back in the event loop, so the handler runs to
    // its end. Hiding, unlike closing, never ends the program.
    void unload();
    // Loads the window if need be, and shows it: modeless, without owner, and
    // centred on the screen when it was just loaded.
    void show();

    QWidget *window() const { return m_window; }
    bool isLoaded() const { return !m_window.isNull(); }

private:
    Factory m_create;
    QPointer<QWidget> m_window; // null once the window is gone, however it went
};

// The calculator window and the chart window. A window they load has its
// switching button wired to the switch below.
SwitchedWindow &calculatorWindow();
SwitchedWindow &chartWindow();

// The two switches, each unloading the window it leaves before it shows the
// other, so that never two are open and the program never runs out of windows
// in between.

// "XP Chart": the calculator goes, with all that was typed, and the chart opens.
void switchToChart();
// "Click here to return to the Calculator": the chart goes, and a freshly
// loaded calculator opens with every box at "0".
void switchToCalculator();

} // namespace xpcalc
