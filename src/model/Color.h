#pragma once

#include <string>
#include <string_view>

namespace rondelix {

// An sRGB colour, components from 0 to 1. The accent setting is stored as
// hexadecimal text; every view that shows it goes through these helpers.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double opacity = 1;

    // "#RGB", "#RRGGBB" or "#RRGGBBAA" (the alpha byte is ignored). Never
    // fails: unreadable text gives the default accent blue.
    static Color fromHex(std::string_view text);
    // The default accent, "#0A84FF".
    static Color fallback() { return {10 / 255.0, 132 / 255.0, 1.0}; }
    static Color white() { return {1, 1, 1}; }
    // Hue, saturation and brightness from 0 to 1.
    static Color fromHsb(double hue, double saturation, double brightness);

    friend bool operator==(const Color&, const Color&) = default;
};

// The lighter and deeper shades of the highlighted slot's gradient.
struct BrightnessVariants {
    Color bright;
    Color deep;
};

// "#" and six upper-case hexadecimal digits.
std::string hexString(const Color& color);
// A near-black grey for light colours, else white: readable text on the colour.
Color contrastingForeground(const Color& color);
BrightnessVariants brightnessVariants(const Color& color);

// The colour a fraction t of the way from one to the other, as a layer of
// `to` at opacity t over `from` shows; `from`'s opacity is kept.
Color mixed(const Color& from, const Color& to, double t);

// WCAG 2's relative luminance, from 0 for black to 1 for white.
double relativeLuminance(const Color& color);
// WCAG 2's contrast ratio of two opaque colours, from 1 to 21.
double contrastRatio(const Color& a, const Color& b);
// The colour as text on the background: unchanged when it reads at the ratio
// already, else mixed towards black on a light background (white on a dark
// one) just as far as it takes to read, so an orange stays an orange.
Color readableOn(const Color& text, const Color& background, double ratio = 4.5);

} // namespace rondelix
