// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace xpcalc {

struct OverflowError;
struct Working;

// What the user is told of a calculation, in the same words wherever the
// program runs.

// What screen readers are told of a new total: "Total experience: 1600".
std::u16string totalAnnouncement(std::u16string_view total);

// How a total came about: "Party level 4:" and then one line per challenge
// rating that added to it ("CR 3: 2 × 800 = 1600", with a true
// multiplication sign); or, where the party level has no row in the award
// table or nothing earns experience, a sentence saying so and that the total
// is therefore 0. Lines end in "\n", but the last.
std::u16string workingText(const Working &working);

// What the user is told when a calculation overflows: that it did, where,
// with the true range of what failed, and that the total shown was not
// changed; three lines.
std::u16string overflowMessage(const OverflowError &error);

} // namespace xpcalc
