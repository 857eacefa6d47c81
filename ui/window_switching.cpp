#include "window_switching.h"

#include "default_instances.h"
#include "form1.h"
#include "form2.h"

namespace xpcalc {
namespace {

// Builds a window with its switching button wired to the switch it asks for.
template <class Window, void (Window::*Request)(), void (*Switch)()> QWidget *wiredWindow()
{
    auto *window = new Window;
    QObject::connect(window, Request, window, Switch);
    return window;
}

} // namespace

DefaultInstance &defaultForm1()
{
    static DefaultInstance instance(&wiredWindow<Form1, &Form1::chartRequested, &switchToChart>);
    return instance;
}

DefaultInstance &defaultForm2()
{
    static DefaultInstance instance(&wiredWindow<Form2, &Form2::calculatorRequested, &switchToCalculator>);
    return instance;
}

// Both run inside the leaving window's button handler. Unloading there is
// safe: the window is destroyed only once control is back in the event loop.
void switchToChart()
{
    defaultForm1().unload();
    defaultForm2().show();
}

void switchToCalculator()
{
    defaultForm2().unload();
    defaultForm1().show();
}

} // namespace xpcalc
