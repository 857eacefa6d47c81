// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Speed of the core: reading a very long entry text, and one whole calculation.
//   build/bench/core_bench
// Targets: a 2 MB paste read in under 10 ms; one calculation under 1 microsecond.
#include "experience_calculation.h"
#include "number_reader.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace xpcalc {
namespace {

// UTF-16 text of the given size: digits with blanks, tabs and line feeds
// strewn among them and one period in the middle, so the whole text is one
// number, the slowest kind to read, and every character goes through the
// blank-skipping path.
std::u16string longNumberText(std::size_t bytes)
{
    const std::size_t characters = bytes / sizeof(char16_t);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, 13);
    std::u16string text;
    text.reserve(characters);
    for (std::size_t i = 0; i < characters; ++i) {
        const int r = pick(random);
        text.push_back(r < 10 ? static_cast<char16_t>(u'0' + r) : r == 10 ? u'\t' : r == 11 ? u'\n' : u' ');
    }
    text[characters / 2] = u'.';
    return text;
}

// A large paste into a box: 2 MB.
void readPastedText(benchmark::State &state)
{
    const std::u16string text = longNumberText(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const Checked<double> value = readNumber(text);
        benchmark::DoNotOptimize(value);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size() * sizeof(char16_t)));
}
BENCHMARK(readPastedText)->Arg(2'000'000)->Unit(benchmark::kMillisecond);

void calculateShortSheet(benchmark::State &state)
{
    const std::u16string counts[kChallengeRatings] = {u"3", u"0", u"12", u"1", u"0", u"2.5", u"7",  u"0", u"1", u"10",
                                                      u"0", u"4", u"0",  u"1", u"0", u"2",   u" 1", u"0", u"5", u"-1"};
    EncounterSheet sheet;
    for (std::size_t i = 0; i < sheet.counts.size(); ++i)
        sheet.counts[i] = counts[i];
    sheet.level = u"13";
    for (auto _ : state) {
        const Checked<Calculation, OverflowError> result = calculate(sheet);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(calculateShortSheet);

} // namespace
} // namespace xpcalc
