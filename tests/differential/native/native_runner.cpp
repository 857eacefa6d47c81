// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The desktop's side of the differential test, making the window's calls (ui/calculator/calculator_window.cpp)
// without Qt. Each input line is a sheet: the twenty count boxes' texts (challenge rating 1 first), then the party
// level's, tab-separated, each hexadecimal UTF-16LE. Each output line is what the window shows, framed as
// core_runner.mjs frames the web page's:
//   total TAB total TAB announcement TAB working    (texts in hexadecimal)
//   overflow TAB message TAB design name of the box
#include "calculator_design.h"
#include "experience_calculation.h"
#include "messages.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iostream>
#include <string>
#include <string_view>

namespace {

using namespace xpcalc;

bool decode(std::string_view hex, std::u16string &text)
{
    text.clear();
    for (; hex.size() >= 4; hex.remove_prefix(4)) {
        unsigned bytes = 0; // the low byte first
        if (std::from_chars(hex.data(), hex.data() + 4, bytes, 16).ptr != hex.data() + 4)
            return false;
        text.push_back(static_cast<char16_t>(bytes >> 8U | (bytes & 0xFFU) << 8U));
    }
    return hex.empty();
}

void encode(std::u16string_view text, std::string &out)
{
    static constexpr std::string_view digits = "0123456789abcdef";
    for (const char16_t unit : text)
        for (const unsigned byte : {unit & 0xFFU, unsigned{unit} >> 8U})
            out.append({digits[byte >> 4U], digits[byte & 0xFU]});
}

} // namespace

int main()
{
    std::ios::sync_with_stdio(false);
    std::string line;
    std::array<std::u16string, kChallengeRatings + 1> texts; // the counts, then the level
    for (long number = 1; std::getline(std::cin, line); ++number) {
        std::string_view rest = line;
        bool good = true;
        for (std::size_t field = 0; field < texts.size(); ++field) {
            const std::size_t end = std::min(rest.find('\t'), rest.size());
            good =
                good && decode(rest.substr(0, end), texts[field]) && (end < rest.size()) == (field + 1 < texts.size());
            rest.remove_prefix(std::min(end + 1, rest.size()));
        }
        if (!good) {
            std::cerr << "native_runner: line " << number << " is not 21 fields of hexadecimal UTF-16LE\n";
            return 2;
        }
        EncounterSheet sheet{{}, texts[kChallengeRatings]};
        std::copy_n(texts.begin(), kChallengeRatings, sheet.counts.begin());
        const auto result = calculate(sheet);
        std::string out = result ? "total" : "overflow";
        if (result) {
            const std::u16string total(result.value().totalText.view());
            for (const std::u16string &text : {total, totalAnnouncement(total), workingText(result.value().working)})
                encode(text, out += '\t');
        } else {
            encode(overflowMessage(result.error()), out += '\t');
            (out += '\t') += nameOf(kCalculatorControls[overflowControl(result.error())]);
        }
        std::cout << out << std::endl;
    }
    return std::cout ? 0 : 1;
}
