// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

namespace xpcalc {

// Names the application, then loads and shows the calculator window, the
// start-up window. The event loop then runs until no window is left.
void startUp();

} // namespace xpcalc
