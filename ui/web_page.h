// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

namespace xpcalc {

// Makes the page the program's window, in the browser build: the faces the
// windows use, embedded in the program, are registered (a browser lends a
// page none of its own), and the page's title follows the window in front.
// Call before the first window is built.
void settleIntoWebPage();

} // namespace xpcalc
