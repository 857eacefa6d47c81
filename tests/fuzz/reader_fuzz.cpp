// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Properties of reading a number that hold whatever the text, and agreement
// with the C library's correctly rounded conversion on plain decimals.
#include "fuzz_text.h"
#include "number_reader.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

bool sameReading(const xpcalc::Checked<double> &a, const xpcalc::Checked<double> &b)
{
    return a.ok() == b.ok() && (!a.ok() || a.value() == b.value());
}

void checkAnyText(FuzzedDataProvider &data)
{
    const std::u16string text = consumeText(data, kLongText);
    const xpcalc::Checked<double> reading = xpcalc::readNumber(text);

    // Blanks, tabs and line feeds may stand anywhere without changing the value.
    constexpr std::array<char16_t, 3> kSkipped{u' ', u'\t', u'\n'};
    std::u16string spaced = text;
    const int insertions = data.ConsumeIntegralInRange<int>(1, 4);
    for (int i = 0; i < insertions; ++i) {
        const std::size_t at = data.ConsumeIntegralInRange<std::size_t>(0, spaced.size());
        spaced.insert(at, std::u16string(data.ConsumeIntegralInRange<std::size_t>(1, 3),
                                         kSkipped[data.ConsumeIntegralInRange<std::size_t>(0, 2)]));
    }
    require(sameReading(reading, xpcalc::readNumber(spaced)), "skipped characters change the value");

    // Once a character that cannot continue a number has ended it, nothing
    // after it counts.
    constexpr std::array<char16_t, 8> kEnders{u',', u'$', u'\r', u'\u00A0', u'\u3000', u'\uFF11', u'\xD800', u'#'};
    std::u16string ended = text;
    ended.push_back(kEnders[data.ConsumeIntegralInRange<std::size_t>(0, kEnders.size() - 1)]);
    ended += consumeText(data, 64);
    require(sameReading(reading, xpcalc::readNumber(ended)), "text after the number changes the value");
}

// A plain decimal in the C library's form ("-d.ddde-xx"). Its digits start as
// the exact decimal of the point halfway between two neighbouring doubles, the
// hardest place to round, and are then cut short or followed, however far
// out, by one more non-zero digit.
std::string consumeDecimal(FuzzedDataProvider &data)
{
    const double below = data.ConsumeFloatingPoint<double>();
    const double above = std::nextafter(below, std::numeric_limits<double>::infinity());
    // Both fit a long double's wider mantissa, so their midpoint is exact
    // where long double is wider than double, and a near miss elsewhere.
    const long double halfway = std::isfinite(above) ? (static_cast<long double>(below) + above) / 2 : below;
    std::array<char, 1200> printed{};
    std::snprintf(printed.data(), printed.size(), "%.*Le", data.ConsumeIntegralInRange<int>(1, 1100), halfway);
    std::string text = printed.data();
    const std::size_t exponent = text.find('e');
    if (exponent == std::string::npos)
        return text; // not finite: the C library spells it in letters
    std::string digits = text.substr(0, exponent);
    if (data.ConsumeBool()) {
        digits.resize(data.ConsumeIntegralInRange<std::size_t>(digits.find('.') + 1, digits.size()));
    } else {
        digits.append(data.ConsumeIntegralInRange<std::size_t>(0, kLongText), '0');
        digits.push_back(static_cast<char>('0' + data.ConsumeIntegralInRange<int>(1, 9)));
    }
    return digits + text.substr(exponent);
}

void checkAgainstTheCLibrary(FuzzedDataProvider &data)
{
    const std::string text = consumeDecimal(data);
    if (text.find_first_not_of("+-.0123456789e") != std::string::npos)
        return;
    const double expected = std::strtod(text.c_str(), nullptr);
    const xpcalc::Checked<double> reading = xpcalc::readNumber(std::u16string(text.begin(), text.end()));
    if (std::isinf(expected))
        require(!reading.ok(), "a decimal beyond the doubles does not overflow");
    else
        require(reading.ok() && reading.value() == expected, "a decimal reads other than strtod reads it");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    if (data.ConsumeBool())
        checkAgainstTheCLibrary(data);
    else
        checkAnyText(data);
    return 0;
}
