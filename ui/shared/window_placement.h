// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

class QSize;
class QWidget;

namespace xpcalc {

// Puts a window that is about to be shown in the middle of its screen's
// available area, its frame included. The frame a window manager draws is
// known only once the window is on the screen, so where there is one the
// window is centred once more when it is first exposed; on a screen without a
// window manager it stays where it was first put.
void centreOnScreen(QWidget *window);

// Gives a window one size that nothing can change: not dragging its border,
// and not maximizing or going full screen. No title bar offers to maximize
// it where the window manager honours the window's flags (Windows, openbox).
// Where one does all the same (Qt 6.4's own title bars on Wayland), the
// window takes the compositor's size for a moment and asks back at once for
// its own, rather than being ended by the compositor for keeping its size.
void fixSize(QWidget *window, QSize size);

} // namespace xpcalc
