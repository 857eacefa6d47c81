// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "messages.h"

#include "experience_calculation.h"
#include "integer_conversion.h"

namespace xpcalc {
namespace {

std::u16string number(std::int32_t value) { return std::u16string(DecimalText(value).view()); }

// The true ranges of what can fail: the minimum is one further from zero
// than the maximum.
constexpr const char16_t *kCountRange = u"-2147483648 to 2147483647";
constexpr const char16_t *kLevelRange = u"-32768 to 32767";

} // namespace

std::u16string totalAnnouncement(std::u16string_view total) { return u"Total experience: " + std::u16string(total); }

std::u16string workingText(const Working &working)
{
    const std::u16string level = number(working.level);
    if (!working.levelHasRow) {
        return u"Party level " + level +
               u" has no row in the award table (only levels 1 to 20 have one), so no encounter earns experience and "
               u"the total is 0.";
    }
    if (working.contributionCount == 0)
        return u"No encounter earns experience at party level " + level + u", so the total is 0.";
    std::u16string text = u"Party level " + level + u":";
    for (int i = 0; i < working.contributionCount; ++i) {
        const Contribution &c = working.contributions[static_cast<std::size_t>(i)];
        text += u"\nCR " + number(c.challengeRating) + u": " + number(c.count) + u" \u00D7 " + number(c.award) +
                u" = " + number(c.product);
    }
    return text;
}

std::u16string overflowMessage(const OverflowError &error)
{
    const std::u16string cr = number(error.challengeRating);
    std::u16string where;
    switch (error.site) {
    case OverflowError::Site::CountText:
        where = u"The number of encounters at CR " + cr + u" is outside the range the calculator can count (" +
                kCountRange + u").";
        break;
    case OverflowError::Site::LevelText:
        where = std::u16string(u"The party level is outside the range the calculator can read (") + kLevelRange + u").";
        break;
    case OverflowError::Site::Product:
        where = u"The experience for the encounters at CR " + cr + u" is outside the range the calculator can hold (" +
                kCountRange + u").";
        break;
    case OverflowError::Site::RunningTotal:
        where = std::u16string(u"The running total left the range the calculator can hold (") + kCountRange +
                u") when the encounters at CR " + cr + u" were added.";
        break;
    }
    return u"The calculation overflowed.\n" + where + u"\nThe total was not changed.";
}

} // namespace xpcalc
