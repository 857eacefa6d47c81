// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "entry_conversion.h"

#include <gtest/gtest.h>

namespace xpcalc {
namespace {

// Reading and rounding are each tested on their own, and the calculation's
// tests cover what the entries round to; what is left is that a number no
// double holds stays the overflow error rather than becoming some value.
TEST(EntryConversion, NumberBeyondTheDoublesIsTheOverflowError)
{
    EXPECT_FALSE(countFromText(u"1E999").ok());
    EXPECT_FALSE(levelFromText(u"-1E999").ok());
}

} // namespace
} // namespace xpcalc
