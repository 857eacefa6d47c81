// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "window_switching.h"

#include "calculator_window.h"
#include "chart_window.h"
#include "window_placement.h"

namespace xpcalc {

QWidget *SwitchedWindow::load()
{
    if (m_window.isNull()) {
        m_window = m_create();
        // Closing with the title-bar close box unloads the window too.
        m_window->setAttribute(Qt::WA_DeleteOnClose);
        centreOnScreen(m_window);
    }
    return m_window;
}

void SwitchedWindow::unload()
{
    if (m_window.isNull())
        return;
    QWidget *window = m_window;
    m_window.clear();
    window->hide();
    window->deleteLater();
}

void SwitchedWindow::show()
{
    QWidget *window = load();
    window->show();
    window->activateWindow();
}

namespace {

// Builds a window with its switching button wired to the switch it asks for.
template <class Window, void (Window::*Request)(), void (*Switch)()> QWidget *wiredWindow()
{
    auto *window = new Window;
    QObject::connect(window, Request, window, Switch);
    return window;
}

} // namespace

SwitchedWindow &calculatorWindow()
{
    static SwitchedWindow instance(&wiredWindow<CalculatorWindow, &CalculatorWindow::chartRequested, &switchToChart>);
    return instance;
}

SwitchedWindow &chartWindow()
{
    static SwitchedWindow instance(&wiredWindow<ChartWindow, &ChartWindow::calculatorRequested, &switchToCalculator>);
    return instance;
}

// Both run inside the leaving window's button handler. Unloading there is
// safe: the window is destroyed only once control is back in the event loop.
void switchToChart()
{
    calculatorWindow().unload();
    chartWindow().show();
}

void switchToCalculator()
{
    chartWindow().unload();
    calculatorWindow().show();
}

} // namespace xpcalc
