// When the drop area's pale yellow gives way to the system's window colours.
#include <gtest/gtest.h>

#include "core/colour_contrast.h"

namespace {

constexpr Rgb kPaleYellow = {252, 235, 182};
constexpr Rgb kBlack = {0, 0, 0};
constexpr Rgb kWhite = {255, 255, 255};

}  // namespace

TEST(ColourContrast, RatiosOfKnownPairs) {
    EXPECT_NEAR(ContrastRatio(kBlack, kWhite), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(kWhite, kBlack), 21.0, 1e-9);
    EXPECT_NEAR(ContrastRatio(kPaleYellow, kPaleYellow), 1.0, 1e-9);
    // White text on the pale yellow, as under High Contrast Black.
    EXPECT_NEAR(ContrastRatio(kWhite, kPaleYellow), 1.19, 0.005);
    // The usual grey that just passes on white, and the one that just fails.
    EXPECT_GE(ContrastRatio({118, 118, 118}, kWhite), kMinimumTextContrast);
    EXPECT_LT(ContrastRatio({119, 119, 119}, kWhite), kMinimumTextContrast);
}

TEST(ColourContrast, OwnColoursStayOnlyAtNormalContrastWithReadableText) {
    EXPECT_FALSE(UseSystemWindowColours(false, kBlack, kPaleYellow)) << "the default scheme";
    EXPECT_TRUE(UseSystemWindowColours(true, kBlack, kPaleYellow)) << "high contrast on";
    EXPECT_TRUE(UseSystemWindowColours(false, kWhite, kPaleYellow)) << "light text of a dark scheme";
    EXPECT_TRUE(UseSystemWindowColours(false, {128, 128, 128}, kPaleYellow));
    EXPECT_FALSE(UseSystemWindowColours(false, {0, 0, 128}, kPaleYellow));
}
