// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "checked.h"
#include "integer_conversion.h"

#include <cstdint>
#include <string_view>

namespace xpcalc {

// Converting the text of an entry box into the integer the calculation uses.
// Forgiving in what it reads (any text yields a number: see readNumber) and
// strict in range: the number is rounded half to even and must fit its type.
// Negative values are accepted as they are. The error is a plain overflow:
// which box it came from is the caller's to say.

// An encounter count: 32-bit signed.
Checked<std::int32_t> countFromText(std::u16string_view text) noexcept;

// A party level: 16-bit signed; only 1 to 20 select a row of the award table.
Checked<std::int16_t> levelFromText(std::u16string_view text) noexcept;

// The text of a total: plain decimal digits, with a minus sign when negative.
inline DecimalText textFromTotal(std::int32_t total) noexcept { return DecimalText(total); }

} // namespace xpcalc
