#include "entry_conversion.h"

#include "number_reader.h"

namespace xpcalc {
namespace {

template <class Int>
Checked<Int> convert(std::u16string_view text, Checked<Int> (*round)(double), OverflowError::Site site) noexcept
{
    const Checked<double> number = readNumber(text);
    const Checked<Int> integer = number ? round(number.value()) : Checked<Int>(OverflowError{});
    if (!integer)
        return OverflowError{site, 0};
    return integer;
}

} // namespace

Checked<std::int32_t> countFromText(std::u16string_view text) noexcept
{
    return convert(text, roundToInt32, OverflowError::Site::CountText);
}

Checked<std::int16_t> levelFromText(std::u16string_view text) noexcept
{
    return convert(text, roundToInt16, OverflowError::Site::LevelText);
}

} // namespace xpcalc
