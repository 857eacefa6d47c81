// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include "award_table.h"
#include "checked.h"
#include "integer_conversion.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace xpcalc {

// The input of one calculation: the texts of the twenty count boxes, challenge
// rating 1 first, and the text of the party-level box, exactly as typed.
struct EncounterSheet {
    std::array<std::u16string_view, kChallengeRatings> counts;
    std::u16string_view level;
};

// One challenge rating that added to the total: its count was not 0 and the
// party's row defines an award for it.
struct Contribution {
    int challengeRating = 0;
    std::int32_t count = 0;
    std::int32_t award = 0;
    std::int32_t product = 0;
};

// How a total came about, for showing the user; it never changes the total.
struct Working {
    std::int16_t level = 0;
    bool levelHasRow = false; // false: the level is not 1 to 20, so the total is 0
    std::array<Contribution, kChallengeRatings> contributions{};
    int contributionCount = 0;
};

// Where a calculation overflowed, so that the window can point the user at the
// box or the challenge rating concerned.
struct OverflowError {
    enum class Site {
        CountText,   // the count of `challengeRating` did not convert
        LevelText,   // the party level did not convert
        Product,     // count x award at `challengeRating` left the 32-bit range
        RunningTotal // the partial sum up to `challengeRating` left the 32-bit range
    };

    Site site = Site::CountText;
    int challengeRating = 0; // 1 to 20 where the site names one, else 0

    friend bool operator==(const OverflowError &a, const OverflowError &b)
    {
        return a.site == b.site && a.challengeRating == b.challengeRating;
    }
};

struct Calculation {
    std::int32_t total = 0;
    DecimalText totalText{0};
    Working working;
};

// The party's total experience for an encounter sheet, or the overflow error.
//
// The steps, in this order (the order decides which error a sheet gives):
// 1. Convert the twenty counts, challenge rating 1 first, then the level. Every
//    count is converted whatever the level, so a count out of the 32-bit range
//    fails even where it would earn nothing.
// 2. A level outside 1 to 20 has no row: the total is 0.
// 3. Otherwise, for challenge ratings 1 to 20: where the row's award is 0 the
//    count is not used at all (so it cannot overflow); elsewhere the product
//    count x award and the running total are each checked against the 32-bit
//    range. The first overflow ends the calculation, even if later negative
//    counts would have brought the total back into range.
Checked<Calculation, OverflowError> calculate(const EncounterSheet &sheet) noexcept;

} // namespace xpcalc
