// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

namespace xpcalc {

// Makes the browser build look and behave as the desktop program: the faces
// the windows use, embedded in the program, are registered (a browser lends a
// page none of its own) and hinted as on a desktop, and Qt's notices that are
// no faults stay off the page's console. Call before the first window is built.
void settleIntoWebPage();

} // namespace xpcalc
