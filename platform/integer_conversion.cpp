#include "integer_conversion.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace xpcalc {
namespace {

template <class Int>
Checked<Int> roundTo(double value) noexcept
{
    // nearbyint rounds in the current mode, which is to-nearest-even unless a
    // program changes it; this one never does.
    const double rounded = std::nearbyint(value);
    // The comparisons are false for NaN, so NaN is out of range too.
    if (!(rounded >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<Int>::max())))
        return OverflowError{};
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
