// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The core for the web page: the calculation, and the words of its working
// and of an overflow, over texts of UTF-16 code units as JavaScript strings
// hold them. The page writes each box's text where xpcalc_entry() says,
// calls xpcalc_calculate(), and reads the results as NUL-terminated UTF-16.
// Where an overflow points, it names the box by its place in the design.
#include "calculator_design.h"
#include "experience_calculation.h"
#include "messages.h"

#include <emscripten/emscripten.h>

#include <array>
#include <iterator>
#include <string>

namespace {

using namespace xpcalc;

constexpr int kBoxes = kChallengeRatings + 1; // the twenty counts, then the level
std::array<std::u16string, kBoxes> entries;
std::u16string total;
std::u16string announcement;
std::u16string working;
std::u16string message;
int overflowIndex = -1;

// The box of every overflow there can be, by site and challenge rating, worked
// out as the module is compiled: looking it up in the designs as it runs
// would bring their whole table of controls into the module.
constexpr OverflowError::Site kSites[] = {OverflowError::Site::CountText, OverflowError::Site::LevelText,
                                          OverflowError::Site::Product, OverflowError::Site::RunningTotal};
constexpr auto kOverflowControls = [] {
    std::array<std::array<int, kChallengeRatings + 1>, std::size(kSites)> controls{};
    for (const OverflowError::Site site : kSites)
        for (int cr = 0; cr <= kChallengeRatings; ++cr)
            controls.at(static_cast<std::size_t>(site)).at(static_cast<std::size_t>(cr)) =
                static_cast<int>(overflowControl(OverflowError{site, cr}));
    return controls;
}();

int overflowControlOf(const OverflowError &error)
{
    const auto site = static_cast<std::size_t>(error.site);
    const auto cr = static_cast<std::size_t>(error.challengeRating);
    return site < kOverflowControls.size() && cr < kOverflowControls[site].size() ? kOverflowControls[site][cr] : -1;
}

} // namespace

extern "C" {

// Room for the text of a box, counts 0 to 19 (challenge ratings 1 to 20),
// the level 20: `length` code units and a NUL. Null for a box there is not.
EMSCRIPTEN_KEEPALIVE char16_t *xpcalc_entry(int box, int length)
{
    if (box < 0 || box >= kBoxes || length < 0)
        return nullptr;
    std::u16string &entry = entries[static_cast<std::size_t>(box)];
    entry.assign(static_cast<std::size_t>(length), u'\0');
    return entry.data();
}

// Calculates the total from the texts as written: 1 with a total and its
// working, 0 with an overflow, its message and its box.
EMSCRIPTEN_KEEPALIVE int xpcalc_calculate()
{
    EncounterSheet sheet;
    for (std::size_t i = 0; i < sheet.counts.size(); ++i)
        sheet.counts[i] = entries[i];
    sheet.level = entries[kChallengeRatings];
    const auto result = calculate(sheet);
    if (!result) {
        const OverflowError &error = result.error();
        message = overflowMessage(error);
        overflowIndex = overflowControlOf(error);
        return 0;
    }
    total = std::u16string(result.value().totalText.view());
    announcement = totalAnnouncement(total);
    working = workingText(result.value().working);
    return 1;
}

EMSCRIPTEN_KEEPALIVE const char16_t *xpcalc_total() { return total.c_str(); }
EMSCRIPTEN_KEEPALIVE const char16_t *xpcalc_announcement() { return announcement.c_str(); }
EMSCRIPTEN_KEEPALIVE const char16_t *xpcalc_working() { return working.c_str(); }
EMSCRIPTEN_KEEPALIVE const char16_t *xpcalc_overflow_message() { return message.c_str(); }
// The box the last overflow concerns, as its index among the calculator's
// controls in the designs' export.
EMSCRIPTEN_KEEPALIVE int xpcalc_overflow_control() { return overflowIndex; }
}
