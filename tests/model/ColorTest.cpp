#include "model/Color.h"

#include <gtest/gtest.h>

using rondelix::Color;

namespace {
void expectRgb(const Color& c, int r, int g, int b) {
    EXPECT_NEAR(c.red * 255, r, 1e-9);
    EXPECT_NEAR(c.green * 255, g, 1e-9);
    EXPECT_NEAR(c.blue * 255, b, 1e-9);
    EXPECT_EQ(c.opacity, 1);
}
} // namespace

TEST(ColorFromHex, ReadsSixDigitsWhateverTheHashesAndSpacesAround) {
    for (const char* text : {"#0A84FF", "0A84FF", "  #0a84ff  ", "##0A84FF#", "# #0A84FF # "})
        expectRgb(Color::fromHex(text), 10, 132, 255);
}

TEST(ColorFromHex, DoublesEachOfThreeDigitsAndIgnoresTheAlphaOfEight) {
    expectRgb(Color::fromHex("#FFF"), 255, 255, 255);
    expectRgb(Color::fromHex("#F0C"), 255, 0, 204);
    expectRgb(Color::fromHex("#0A84FF80"), 10, 132, 255);
}

TEST(ColorFromHex, UnreadableTextGivesTheFallbackBlue) {
    for (const char* text : {"#0A84F", "", "#", "blue", "#GGGGGG", "#0A 84FF", "#0A84FF0", "ÄÄÄ"})
        expectRgb(Color::fromHex(text), 10, 132, 255);
}

TEST(ColorFromHex, ChoosesByTextLengthNotByDigitsRead) {
    // Six characters; the scan stops at the G.
    expectRgb(Color::fromHex("12345G"), 0x01, 0x23, 0x45);
    // Eight characters, of which the prefix is two.
    expectRgb(Color::fromHex("0x0A84FF"), 0x00, 0x0A, 0x84);
}

TEST(ColorHexString, RoundTripsAndRoundsHalfAwayFromZero) {
    EXPECT_EQ(rondelix::hexString(Color::fromHex("#0A84FF")), "#0A84FF");
    EXPECT_EQ(rondelix::hexString(Color::white()), "#FFFFFF");
    // Out-of-range components still give two digits each.
    EXPECT_EQ(rondelix::hexString(Color{1.7, -0.2, 0.5}), "#FF0080");
}

TEST(ColorContrastingForeground, IsDarkGreyOnlyAboveLumaSixTenths) {
    const Color grey{0.12, 0.12, 0.12};
    EXPECT_EQ(rondelix::contrastingForeground(Color::white()), grey);
    EXPECT_EQ(rondelix::contrastingForeground(Color::fallback()), Color::white());
    EXPECT_EQ(rondelix::contrastingForeground(Color{1, 1, 0}), grey);
    EXPECT_EQ(rondelix::contrastingForeground(Color{0.6, 0.6, 0.6}), Color::white());
    EXPECT_EQ(rondelix::contrastingForeground(Color{0.61, 0.61, 0.61}), grey);
}

TEST(ColorBrightnessVariants, BrightensCappedAndDeepensKeepingTheHue) {
    const Color base = Color::fromHsb(0.6, 0.5, 0.9);
    const auto [bright, deep] = rondelix::brightnessVariants(base);
    const auto maxOf = [](const Color& c) { return std::max({c.red, c.green, c.blue}); };
    const auto minOf = [](const Color& c) { return std::min({c.red, c.green, c.blue}); };
    EXPECT_NEAR(maxOf(bright), 1.0, 1e-9);
    EXPECT_NEAR(maxOf(deep), 0.702, 1e-9);
    EXPECT_NEAR(1 - minOf(bright) / maxOf(bright), 0.5 * 0.72, 1e-9);
    EXPECT_NEAR(1 - minOf(deep) / maxOf(deep), 0.5 * 1.05, 1e-9);
    // Blue stays the largest component, red the smallest: same hue.
    EXPECT_EQ(maxOf(deep), deep.blue);
    EXPECT_EQ(minOf(bright), bright.red);
}

TEST(ColorBrightnessVariants, SaturationIsCappedAtOneAndGreyStaysGrey) {
    const auto [bright, deep] = rondelix::brightnessVariants(Color{1, 0, 0});
    EXPECT_EQ(rondelix::hexString(deep), "#C70000");
    EXPECT_EQ(rondelix::hexString(bright), "#FF4747");
    const auto grey = rondelix::brightnessVariants(Color{0.5, 0.5, 0.5});
    EXPECT_EQ(grey.bright.red, grey.bright.blue);
    EXPECT_NEAR(grey.deep.green, 0.39, 1e-9);
}
