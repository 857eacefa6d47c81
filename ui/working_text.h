// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace xpcalc {

struct Working;

// How the last total came about, one line per challenge rating that added to
// it ("CR 3: 2 x 800 = 1600", with a true multiplication sign); or, where the party level has no row in the
// award table, a sentence saying so and that the total is therefore 0.
QString workingText(const Working &working);

} // namespace xpcalc
