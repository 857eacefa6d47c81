#pragma once

namespace xpcalc {

class DefaultInstance;

// The two windows' default instances, reachable by the windows' names. A
// window they load has its switching button wired to the switch below.
DefaultInstance &defaultForm1(); // the calculator window
DefaultInstance &defaultForm2(); // the chart window

// The two switches, each unloading the window it leaves before it shows the
// other, so that never two are open and the program never runs out of windows
// in between.

// "XP Chart": the calculator goes, with all that was typed, and the chart opens.
void switchToChart();
// "Click here to return to the Calculator": the chart goes, and a freshly
// loaded calculator opens with every box at "0".
void switchToCalculator();

} // namespace xpcalc
