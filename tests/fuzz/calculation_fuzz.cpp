// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Properties of a whole calculation that hold whatever the texts.
#include "entry_conversion.h"
#include "experience_calculation.h"
#include "fuzz_text.h"

#include <array>
#include <cstdio>

using namespace xpcalc;

namespace {

// A few realistic entries mixed with arbitrary texts, so that calculations
// also get past the conversions and reach the products and sums.
std::u16string consumeEntry(FuzzedDataProvider &data)
{
    switch (data.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        return consumeText(data, kLongText);
    case 1: {
        const std::string digits = std::to_string(data.ConsumeIntegral<std::int32_t>());
        return std::u16string(digits.begin(), digits.end());
    }
    case 2: {
        const std::string digits = std::to_string(data.ConsumeIntegralInRange<int>(-30, 30));
        return std::u16string(digits.begin(), digits.end());
    }
    default:
        return u"0";
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    std::array<std::u16string, kChallengeRatings> counts;
    for (std::u16string &count : counts)
        count = consumeEntry(data);
    const std::u16string level = consumeEntry(data);

    EncounterSheet sheet;
    for (std::size_t i = 0; i < counts.size(); ++i)
        sheet.counts[i] = counts[i];
    sheet.level = level;
    const auto result = calculate(sheet);

    // The first count that does not convert is the error, before anything else.
    for (int cr = 1; cr <= kChallengeRatings; ++cr) {
        if (!countFromText(counts[static_cast<std::size_t>(cr - 1)])) {
            require(!result.ok() && result.error() == OverflowError{OverflowError::Site::CountText, cr},
                    "a count that does not convert is not reported first");
            return 0;
        }
    }
    const Checked<std::int16_t> convertedLevel = levelFromText(level);
    if (!convertedLevel) {
        require(!result.ok() && result.error().site == OverflowError::Site::LevelText, "level overflow not reported");
        return 0;
    }
    if (!result.ok()) {
        const OverflowError &error = result.error();
        require(error.site == OverflowError::Site::Product || error.site == OverflowError::Site::RunningTotal,
                "an arithmetic overflow names a conversion");
        require(error.challengeRating >= 1 && error.challengeRating <= kChallengeRatings &&
                    convertedLevel.value() >= 1 && convertedLevel.value() <= kLevels,
                "an arithmetic overflow outside the table");
        return 0;
    }

    // A total: it is the sum of the working's products, and its text says it.
    const Calculation &calculation = result.value();
    std::int64_t sum = 0;
    for (int i = 0; i < calculation.working.contributionCount; ++i) {
        const Contribution &c = calculation.working.contributions[static_cast<std::size_t>(i)];
        require(std::int64_t{c.count} * c.award == c.product && c.count != 0 && c.award != 0,
                "a contribution does not multiply out");
        sum += c.product;
    }
    require(sum == calculation.total, "the working does not add up to the total");
    require(calculation.working.levelHasRow || calculation.total == 0, "a level without a row gave a total");
    require(calculation.totalText.view() == textFromTotal(static_cast<std::int32_t>(sum)).view(),
            "the total shown is not what the working adds up to");
    return 0;
}
