// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// The desktop's side of the differential test: each line of standard input is
// a sheet, the texts of the twenty count boxes (challenge rating 1 first) and
// of the party level box, tab-separated, each as hexadecimal UTF-16LE; each
// line of output is what the calculator window shows for it, in the framing
// core_runner.mjs writes for the web page's core:
//   total TAB total TAB announcement TAB working    (texts in hexadecimal)
//   overflow TAB message TAB design name of the box
// The calls are the window's (ui/calculator/calculator_window.cpp), without Qt.
#include "calculator_design.h"
#include "experience_calculation.h"
#include "messages.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

namespace {

using namespace xpcalc;

constexpr std::string_view kHexDigits = "0123456789abcdef";

int hexValue(char c)
{
    const auto at = kHexDigits.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

bool decode(std::string_view hex, std::u16string &text)
{
    text.clear();
    if (hex.size() % 4 != 0)
        return false;
    for (std::size_t i = 0; i < hex.size(); i += 4) {
        int unit = 0;
        // Little-endian: the low byte's two digits come first.
        for (const std::size_t at : {i + 2, i + 3, i, i + 1}) {
            const int digit = hexValue(hex[at]);
            if (digit < 0)
                return false;
            unit = unit * 16 + digit;
        }
        text.push_back(static_cast<char16_t>(unit));
    }
    return true;
}

void encode(std::u16string_view text, std::string &out)
{
    for (const char16_t unit : text) {
        for (const unsigned byte : {unit & 0xFFU, unsigned{unit} >> 8U}) {
            out.push_back(kHexDigits[byte >> 4U]);
            out.push_back(kHexDigits[byte & 0xFU]);
        }
    }
}

} // namespace

int main()
{
    std::ios::sync_with_stdio(false);
    std::array<std::u16string, kChallengeRatings + 1> texts;
    std::string line;
    std::string out;
    for (long number = 1; std::getline(std::cin, line); ++number) {
        std::size_t field = 0;
        std::size_t start = 0;
        bool good = true;
        for (; good && field < texts.size(); ++field) {
            const std::size_t end = std::min(line.find('\t', start), line.size());
            good = decode(std::string_view(line).substr(start, end - start), texts[field]) &&
                   (end < line.size()) == (field + 1 < texts.size());
            start = end + 1;
        }
        if (!good) {
            (void)std::fprintf(
                stderr, "native_runner: line %ld is not 21 tab-separated fields of hexadecimal UTF-16LE\n", number);
            return 2;
        }

        EncounterSheet sheet;
        for (std::size_t i = 0; i < sheet.counts.size(); ++i)
            sheet.counts[i] = texts[i];
        sheet.level = texts[kChallengeRatings];
        const auto result = calculate(sheet);
        out.clear();
        if (result) {
            const std::u16string_view total = result.value().totalText.view();
            out += "total\t";
            encode(total, out);
            out += '\t';
            encode(totalAnnouncement(total), out);
            out += '\t';
            encode(workingText(result.value().working), out);
        } else {
            out += "overflow\t";
            encode(overflowMessage(result.error()), out);
            out += '\t';
            out += nameOf(kCalculatorControls[overflowControl(result.error())]);
        }
        out += '\n';
        // At once: the driver waits for each batch's answers before it sends more.
        std::cout << out << std::flush;
    }
    return std::cout ? 0 : 1;
}
