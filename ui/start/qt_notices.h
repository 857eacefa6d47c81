// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

namespace xpcalc {

// Keeps off the console the warnings Qt prints that report no fault and leave
// the user nothing to do; every other message goes on to the handler that was
// there before. Call first thing in main(), before the application object
// exists; later calls do nothing.
void quietHarmlessQtNotices();

} // namespace xpcalc
