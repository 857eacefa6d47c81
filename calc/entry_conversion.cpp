// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "entry_conversion.h"

#include "number_reader.h"

namespace xpcalc {
namespace {

template <class Int> Checked<Int> convert(std::u16string_view text, Checked<Int> (*round)(double)) noexcept
{
    const Checked<double> number = readNumber(text);
    if (!number)
        return number.error();
    return round(number.value());
}

} // namespace

Checked<std::int32_t> countFromText(std::u16string_view text) noexcept { return convert(text, roundToInt32); }

Checked<std::int16_t> levelFromText(std::u16string_view text) noexcept { return convert(text, roundToInt16); }

} // namespace xpcalc
