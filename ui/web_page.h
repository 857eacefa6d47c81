// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

class QString;

namespace xpcalc {

// Makes the browser build look as the desktop program: the faces the windows
// use, embedded in the program, are registered (a browser lends a page none of
// its own) and hinted as on a desktop. Call before the first window is built.
void settleIntoWebPage();

enum class Urgency { Polite, Urgent };

// Says a message through the page's live regions, which the browser's screen
// reader reads wherever the focus is: Qt 6.4 gives a page no accessibility
// tree, so what the program says to assistive technology on a desktop would
// reach nobody there. An urgent message, a warning, interrupts.
void announceOnPage(const QString &message, Urgency urgency = Urgency::Polite);

} // namespace xpcalc
