// Properties of reading a number that hold whatever the text.
#include "fuzz_text.h"
#include "number_reader.h"

#include <array>
#include <cstdio>

namespace {

bool sameReading(const xpcalc::Checked<double> &a, const xpcalc::Checked<double> &b)
{
    return a.ok() == b.ok() && (!a.ok() || a.value() == b.value());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const std::u16string text = consumeText(data, 256);
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
    return 0;
}
