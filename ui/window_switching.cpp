#include "window_switching.h"

#include "default_instances.h"
#include "form1.h"
#include "form2.h"

namespace xpcalc {

DefaultInstance &defaultForm1()
{
    static DefaultInstance instance([]() -> QWidget * {
        auto *window = new Form1;
        QObject::connect(window, &Form1::chartRequested, window, &switchToChart);
        return window;
    });
    return instance;
}

DefaultInstance &defaultForm2()
{
    static DefaultInstance instance([]() -> QWidget * {
        auto *window = new Form2;
        QObject::connect(window, &Form2::calculatorRequested, window, &switchToCalculator);
        return window;
    });
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
