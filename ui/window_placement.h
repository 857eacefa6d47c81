#pragma once

class QWidget;

namespace xpcalc {

// Puts a window that is about to be shown in the middle of its screen's
// available area, its frame included. The frame a window manager draws is
// known only once the window is on the screen, so where there is one the
// window is centred once more when it is first exposed; on a screen without a
// window manager it stays where it was first put.
void centreOnScreen(QWidget *window);

} // namespace xpcalc
