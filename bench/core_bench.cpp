// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT

// Speed of the core: reading a very long entry text, and one whole calculation.
//   build/bench/core_bench
// Targets: reading at 1 GB/s or more; one calculation under 1 microsecond.
#include "experience_calculation.h"
#include "number_reader.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace xpcalc {
namespace {

// 64 MiB of UTF-16: digits with blanks, tabs and line feeds strewn among them
// and one period in the middle, so the whole text is one number and every
// character goes through the blank-skipping path.
std::u16string longNumberText()
{
    constexpr std::size_t kCharacters = 32U << 20U;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, 13);
    std::u16string text;
    text.reserve(kCharacters);
    for (std::size_t i = 0; i < kCharacters; ++i) {
        const int r = pick(random);
        text.push_back(r < 10 ? static_cast<char16_t>(u'0' + r) : r == 10 ? u'\t' : r == 11 ? u'\n' : u' ');
    }
    text[kCharacters / 2] = u'.';
    return text;
}

void readLongText(benchmark::State &state)
{
    const std::u16string text = longNumberText();
    for (auto _ : state) {
        const Checked<double> value = readNumber(text);
        benchmark::DoNotOptimize(value);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(text.size() * sizeof(char16_t)));
}
BENCHMARK(readLongText)->Unit(benchmark::kMillisecond);

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
