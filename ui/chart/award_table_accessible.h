// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

namespace xpcalc {

// Teaches assistive technology the award chart as assistive technology reads it: a table with a row per
// party level, levels 1 to 3 sharing one as the chart draws them, and a
// column per challenge rating; each cell's text its award (empty where the
// award is 0), with its row and column headers ("Party level 7", "CR 3").
// The chart's current cell is focused while the chart has the focus.
// Install before the chart is made; installing again does nothing.
void installAwardTableAccessible();

} // namespace xpcalc
