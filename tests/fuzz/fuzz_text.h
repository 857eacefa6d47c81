// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

// Fuzzing helpers: arbitrary UTF-16 texts, lone surrogates and all.

// Long enough to pass the 768 digits the reader keeps several times over, and
// the eight-character groups it scans past them in.
constexpr std::size_t kLongText = 4096;

inline std::u16string consumeText(FuzzedDataProvider &data, std::size_t maxLength)
{
    const std::size_t length = data.ConsumeIntegralInRange<std::size_t>(0, maxLength);
    std::u16string text;
    for (std::size_t i = 0; i < length && data.remaining_bytes() >= 2; ++i)
        text.push_back(data.ConsumeIntegral<char16_t>());
    return text;
}

// Stops the run with a report when a property does not hold.
inline void require(bool holds, const char *property)
{
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}
