// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The desktop's side of the differential test, making the window's calls (ui/calculator/calculator_window.cpp)
// without Qt. In, a sheet a line: the twenty counts' texts (challenge rating 1 first), then the party level's; out,
// what the window shows: "total", the total, its announcement and working, or "overflow", the message and its box's
// design name. Fields are tab-separated, texts four hexadecimal digits a UTF-16 code unit, as core_runner.mjs's.
#include "calculator_design.h"
#include "experience_calculation.h"
#include "messages.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <string>

using namespace xpcalc;

int main()
{
    const auto hex = [](std::u16string_view text) {
        std::string out = "\t";
        for (const char16_t unit : text)
            for (int shift = 12; shift >= 0; shift -= 4)
                out += "0123456789abcdef"[unit >> shift & 0xF];
        return out;
    };
    std::ios::sync_with_stdio(false);
    for (std::string line; std::getline(std::cin, line);) {
        std::array<std::u16string, kChallengeRatings + 1> texts; // the counts, then the level
        std::size_t field = 0;
        for (std::size_t i = 0; i < line.size(); i += line[i] == '\t' ? 1U : 4U) {
            unsigned unit = 0;
            std::from_chars(line.data() + i, line.data() + std::min(i + 4, line.size()), unit, 16);
            if (line[i] == '\t')
                ++field;
            else
                texts.at(field) += static_cast<char16_t>(unit);
        }
        EncounterSheet sheet{{}, texts[kChallengeRatings]};
        std::copy_n(texts.begin(), kChallengeRatings, sheet.counts.begin());
        const auto result = calculate(sheet);
        if (result) {
            const std::u16string total(result.value().totalText.view());
            std::cout << "total" << hex(total) << hex(totalAnnouncement(total))
                      << hex(workingText(result.value().working)) << '\n';
        } else {
            const std::string box = nameOf(kCalculatorControls[overflowControl(result.error())]);
            std::cout << "overflow" << hex(overflowMessage(result.error()))
                      << hex(std::u16string(box.begin(), box.end())) << '\n';
        }
    }
}
