// SPDX-FileCopyrightText: 2026 Kestrow
// SPDX-License-Identifier: MIT
#include "system_colours.h"

#include "param_name.h"

#include <gtest/gtest.h>

namespace xpcalc {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kLinkBlue{0, 0, 255};
constexpr Rgb kCreditYellow{255, 255, 192};

TEST(ContrastRatio, RunsFromOneToTwentyOneWhicheverComesFirst)
{
    EXPECT_DOUBLE_EQ(contrastRatio(kBlack, kWhite), 21.0);
    EXPECT_DOUBLE_EQ(contrastRatio(kWhite, kBlack), 21.0);
    EXPECT_DOUBLE_EQ(contrastRatio(kLinkBlue, kLinkBlue), 1.0);
    // Blue on the default button face reads well; on a dark ground it does not.
    EXPECT_GT(contrastRatio(kLinkBlue, defaultSchemeColour(SystemColour::ButtonFace)), kReadableContrast);
    EXPECT_LT(contrastRatio(kLinkBlue, Rgb{50, 50, 50}), kReadableContrast);
}

struct ReadableCase {
    const char *name;
    Rgb designed;
    Rgb ground;
    Rgb schemeText;
    Rgb expected;
};

class ReadableText : public testing::TestWithParam<ReadableCase> {};

TEST_P(ReadableText, KeepsTheDesignUnlessItCannotBeRead)
{
    const ReadableCase &c = GetParam();
    EXPECT_EQ(readableText(c.designed, c.ground, c.schemeText), c.expected);
}

// The high-contrast schemes of Windows: white text on black, black on white.
INSTANTIATE_TEST_SUITE_P(
    Schemes, ReadableText,
    testing::Values(ReadableCase{"blue_on_default_face", kLinkBlue, defaultSchemeColour(SystemColour::ButtonFace),
                                 kBlack, kLinkBlue},
                    ReadableCase{"blue_on_high_contrast_black", kLinkBlue, kBlack, kWhite, kWhite},
                    ReadableCase{"yellow_on_black_credit", kCreditYellow, kBlack, kWhite, kCreditYellow},
                    ReadableCase{"yellow_on_high_contrast_white", kCreditYellow, kWhite, kBlack, kBlack}),
    ByName());

} // namespace
} // namespace xpcalc
