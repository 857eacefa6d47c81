// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "checked.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace xpcalc {

// Round a value to the nearest integer, a value exactly halfway between two
// integers going to the even one (0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -2.5 -> -2),
// then check the range of the target type. Out of range (or not a number) is
// the overflow error. Halves go to even so that a column of halves is not
// biased upwards, which is how the runtime we reproduce rounds.
Checked<std::int32_t> roundToInt32(double value) noexcept;
Checked<std::int16_t> roundToInt16(double value) noexcept;

// The decimal form of a 32-bit integer: a minus sign when negative, digits,
// no leading zeros (zero is "0"), no separators, no spaces. Held in place, so
// producing it never allocates.
class DecimalText {
public:
    explicit DecimalText(std::int32_t value) noexcept;

    std::u16string_view view() const noexcept { return {m_text.data(), m_length}; }

private:
    std::array<char16_t, 11> m_text{}; // "-2147483648" is the longest
    std::size_t m_length = 0;
};

} // namespace xpcalc
