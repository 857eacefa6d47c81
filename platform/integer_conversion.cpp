// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "integer_conversion.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace xpcalc {
namespace {

// Adding 2^52 to a smaller magnitude leaves no bits for a fraction, so the
// addition itself rounds to an integer, ties to even, in the default rounding
// mode (which this program never changes). Much cheaper than nearbyint, which
// must save and restore the floating-point environment.
double roundHalfToEven(double value) noexcept
{
    constexpr double kNoFractionBits = 4503599627370496.0; // 2^52
    const double magnitude = std::fabs(value);
    if (!(magnitude < kNoFractionBits))
        return value; // already whole, or infinite, or not a number
    return std::copysign((magnitude + kNoFractionBits) - kNoFractionBits, value);
}

template <class Int> Checked<Int> roundTo(double value) noexcept
{
    const double rounded = roundHalfToEven(value);
    // The comparisons are false for NaN, so NaN is out of range too.
    if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Int>::max())))
        return Overflow{};
    return static_cast<Int>(rounded);
}

} // namespace

Checked<std::int32_t> roundToInt32(double value) noexcept { return roundTo<std::int32_t>(value); }

Checked<std::int16_t> roundToInt16(double value) noexcept { return roundTo<std::int16_t>(value); }

DecimalText::DecimalText(std::int32_t value) noexcept
{
    std::array<char, 11> ascii{};
    const auto end = std::to_chars(ascii.data(), ascii.data() + ascii.size(), value).ptr;
    for (const char *p = ascii.data(); p != end; ++p)
        m_text[m_length++] = static_cast<char16_t>(*p);
}

} // namespace xpcalc
