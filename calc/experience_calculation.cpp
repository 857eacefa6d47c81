// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "experience_calculation.h"

#include "entry_conversion.h"

#include <limits>

namespace xpcalc {
namespace {

// Both operands are 32-bit, so their exact product and sum fit 64 bits.
bool fitsInt32(std::int64_t value) noexcept
{
    return value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max();
}

} // namespace

Checked<Calculation, OverflowError> calculate(const EncounterSheet &sheet) noexcept
{
    std::array<std::int32_t, kChallengeRatings> counts{};
    for (int cr = 1; cr <= kChallengeRatings; ++cr) {
        const Checked<std::int32_t> count = countFromText(sheet.counts[static_cast<std::size_t>(cr - 1)]);
        if (!count)
            return OverflowError{OverflowError::Site::CountText, cr};
        counts[static_cast<std::size_t>(cr - 1)] = count.value();
    }
    const Checked<std::int16_t> level = levelFromText(sheet.level);
    if (!level)
        return OverflowError{OverflowError::Site::LevelText, 0};

    Calculation result;
    result.working.level = level.value();
    result.working.levelHasRow = level.value() >= 1 && level.value() <= kLevels;
    if (!result.working.levelHasRow)
        return result;

    const AwardRow &row = awardRow(level.value());
    std::int32_t total = 0;
    for (int cr = 1; cr <= kChallengeRatings; ++cr) {
        const std::int32_t award = row[static_cast<std::size_t>(cr - 1)];
        if (award == 0)
            continue; // no award defined: the count is ignored, whatever it is
        const std::int32_t count = counts[static_cast<std::size_t>(cr - 1)];
        const std::int64_t product = std::int64_t{count} * award;
        if (!fitsInt32(product))
            return OverflowError{OverflowError::Site::Product, cr};
        const std::int64_t sum = std::int64_t{total} + product;
        if (!fitsInt32(sum))
            return OverflowError{OverflowError::Site::RunningTotal, cr};
        total = static_cast<std::int32_t>(sum);
        if (count != 0) {
            result.working.contributions[static_cast<std::size_t>(result.working.contributionCount++)] =
                Contribution{cr, count, award, static_cast<std::int32_t>(product)};
        }
    }
    result.total = total;
    result.totalText = textFromTotal(total);
    return result;
}

} // namespace xpcalc
