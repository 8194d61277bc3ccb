#include "model/Color.h"

#include "util/Ascii.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace rondelix {

namespace {

std::string_view trimHashesAndSpaces(std::string_view text) {
    const auto isTrimmed = [](char c) { return c == '#' || c == ' '; };
    while (!text.empty() && isTrimmed(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isTrimmed(text.back()))
        text.remove_suffix(1);
    return text;
}

// Reads like a text scanner does: leading white space skipped, an optional
// 0x prefix, then hexadecimal digits up to the first other character.
std::optional<std::uint64_t> scanHex(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isAsciiSpace(text[i]))
        ++i;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        i + 2 < text.size() && asciiHexValue(text[i + 2]) >= 0)
        i += 2;
    std::uint64_t value = 0;
    bool any = false;
    for (; i < text.size() && asciiHexValue(text[i]) >= 0; ++i) {
        value = (value << 4) | static_cast<std::uint64_t>(asciiHexValue(text[i]));
        any = true;
    }
    if (!any) return std::nullopt;
    return value;
}

// The length as a person counts it: code points, not UTF-8 bytes.
std::size_t characterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

int channel(double component) {
    return static_cast<int>(std::clamp(std::round(component * 255.0), 0.0, 255.0));
}

struct Hsb {
    double hue = 0;
    double saturation = 0;
    double brightness = 0;
};

Hsb toHsb(const Color& c) {
    const double r = std::clamp(c.red, 0.0, 1.0);
    const double g = std::clamp(c.green, 0.0, 1.0);
    const double b = std::clamp(c.blue, 0.0, 1.0);
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double delta = max - min;
    Hsb hsb;
    hsb.brightness = max;
    hsb.saturation = max > 0 ? delta / max : 0;
    if (delta > 0) {
        double h = 0;
        if (max == r)
            h = std::fmod((g - b) / delta, 6.0);
        else if (max == g)
            h = (b - r) / delta + 2;
        else
            h = (r - g) / delta + 4;
        h /= 6.0;
        if (h < 0) h += 1;
        hsb.hue = h;
    }
    return hsb;
}

} // namespace

Color mixed(const Color& from, const Color& to, double t) {
    const auto mix = [t](double a, double b) { return a + (b - a) * t; };
    return {mix(from.red, to.red), mix(from.green, to.green), mix(from.blue, to.blue), from.opacity};
}

Color Color::fromHex(std::string_view text) {
    const std::string_view trimmed = trimHashesAndSpaces(text);
    const auto scanned = scanHex(trimmed);
    if (!scanned) return fallback();
    const std::uint64_t v = *scanned;
    std::uint64_t r = 0, g = 0, b = 0;
    switch (characterCount(trimmed)) {
    case 6:
        r = (v >> 16) & 0xFF, g = (v >> 8) & 0xFF, b = v & 0xFF;
        break;
    case 3:
        r = ((v >> 8) & 0xF) * 17, g = ((v >> 4) & 0xF) * 17, b = (v & 0xF) * 17;
        break;
    case 8:
        r = (v >> 24) & 0xFF, g = (v >> 16) & 0xFF, b = (v >> 8) & 0xFF;
        break;
    default:
        return fallback();
    }
    return {static_cast<double>(r) / 255.0, static_cast<double>(g) / 255.0, static_cast<double>(b) / 255.0};
}

Color Color::fromHsb(double hue, double saturation, double brightness) {
    const double h = (hue - std::floor(hue)) * 6.0;
    const double s = std::clamp(saturation, 0.0, 1.0);
    const double v = std::clamp(brightness, 0.0, 1.0);
    const double c = v * s;
    const double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
    const double m = v - c;
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(h) % 6) {
    case 0:
        r = c, g = x;
        break;
    case 1:
        r = x, g = c;
        break;
    case 2:
        g = c, b = x;
        break;
    case 3:
        g = x, b = c;
        break;
    case 4:
        r = x, b = c;
        break;
    default:
        r = c, b = x;
        break;
    }
    return {r + m, g + m, b + m};
}

std::string hexString(const Color& color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", channel(color.red), channel(color.green),
                  channel(color.blue));
    return text;
}

Color contrastingForeground(const Color& color) {
    const double luma = 0.299 * color.red + 0.587 * color.green + 0.114 * color.blue;
    if (luma > 0.6) return {0.12, 0.12, 0.12};
    return Color::white();
}

BrightnessVariants brightnessVariants(const Color& color) {
    const Hsb hsb = toHsb(color);
    return {
        Color::fromHsb(hsb.hue, std::max(hsb.saturation * 0.72, 0.0), std::min(hsb.brightness * 1.18, 1.0)),
        Color::fromHsb(hsb.hue, std::min(hsb.saturation * 1.05, 1.0), hsb.brightness * 0.78),
    };
}

double relativeLuminance(const Color& c) {
    const auto linear = [](double v) {
        v = std::clamp(v, 0.0, 1.0);
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.red) + 0.7152 * linear(c.green) + 0.0722 * linear(c.blue);
}

double contrastRatio(const Color& a, const Color& b) {
    const double x = relativeLuminance(a), y = relativeLuminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

Color readableOn(const Color& text, const Color& background, double ratio) {
    if (contrastRatio(text, background) >= ratio) return text;
    // Black and white are each at least 4.58:1 from the background on their side.
    const Color end = relativeLuminance(background) > 0.18 ? Color{0, 0, 0} : Color::white();
    // The ratio grows steadily along the way; a little past the goal, so that
    // rounding to whole channel values keeps it.
    const double goal = std::min(ratio + 0.05, contrastRatio(end, background));
    double low = 0, high = 1;
    for (int step = 0; step < 24; ++step) {
        const double t = (low + high) / 2;
        (contrastRatio(mixed(text, end, t), background) >= goal ? high : low) = t;
    }
    return mixed(text, end, high);
}

} // namespace rondelix
