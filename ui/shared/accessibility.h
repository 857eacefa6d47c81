// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

namespace xpcalc {

// Teaches assistive technology (screen readers, magnifiers, the AT-SPI tree
// on Linux, UI Automation on Windows) what the windows built from their
// designs are; a window teaches it about controls of its own itself (the
// chart's table, the calculator's announcer):
// - each window has the window role and a name that says which it is;
// - its controls are presented in tab order, not in the order they were
//   created (which stacks them) or the order they are drawn;
// - a text box taking or giving up the focus raises no selection or caret
//   events of its own: the focus tells its text and selection.
// - keys typed ahead of a screen reader reach the control that has the
//   focus when they are handled (type_ahead.h).
// Install once, before the first window is shown.
void installAccessibility();

} // namespace xpcalc
