#include "platform/linux/desktop/AppearanceReading.h"

#include "util/Ascii.h"
#include "util/TextTrimming.h"

#include <array>
#include <charconv>
#include <string>

namespace rondelix::platform::linux_desktop {

namespace {

// One value of an INI-style file: the key may carry KDE's "[$e]"-style flags.
std::optional<std::string_view> iniValue(std::string_view text, std::string_view group,
                                         std::string_view key) {
    std::string_view current;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = trimmedWhitespace(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (current != group || equals == std::string_view::npos) continue;
        std::string_view name = trimmedWhitespace(line.substr(0, equals));
        if (const std::size_t flags = name.find('['); flags != std::string_view::npos)
            name = name.substr(0, flags);
        if (name == key) return trimmedWhitespace(line.substr(equals + 1));
    }
    return std::nullopt;
}

std::optional<double> number(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// "r,g,b" in 0–255, as KDE writes colours.
std::optional<double> lightness(std::string_view rgb) {
    std::array<double, 3> channels{};
    for (std::size_t i = 0; i < channels.size(); ++i) {
        const std::size_t comma = std::min(rgb.find(','), rgb.size());
        const auto channel = number(trimmedWhitespace(rgb.substr(0, comma)));
        if (!channel || *channel < 0 || *channel > 255) return std::nullopt;
        channels[i] = *channel / 255;
        rgb.remove_prefix(std::min(comma + 1, rgb.size()));
    }
    return 0.2126 * channels[0] + 0.7152 * channels[1] + 0.0722 * channels[2];
}

} // namespace

AppearanceSettings firstAnswers(std::initializer_list<AppearanceReading> readings) {
    AppearanceSettings settings;
    std::optional<ColorScheme> scheme;
    std::optional<bool> reduceMotion;
    std::optional<bool> highContrast;
    for (const AppearanceReading& reading : readings) {
        if (!scheme) scheme = reading.colorScheme;
        if (!reduceMotion) reduceMotion = reading.reduceMotion;
        if (!highContrast) highContrast = reading.highContrast;
    }
    settings.colorScheme = scheme.value_or(ColorScheme::unknown);
    settings.reduceMotion = reduceMotion.value_or(false);
    settings.highContrast = highContrast.value_or(false);
    return settings;
}

AppearanceReading readingOfThemeName(std::string_view name) {
    if (trimmedWhitespace(name).empty()) return {};
    const std::string theme = asciiLowercased(trimmedWhitespace(name));
    // Stock dark themes whose names do not say so.
    static constexpr std::array<std::string_view, 3> darkWithoutTheWord = {"blackmate", "highcontrastinverse",
                                                                           "contrasthighinverse"};
    bool dark = theme.find("dark") != std::string::npos;
    for (const std::string_view stock : darkWithoutTheWord)
        dark = dark || theme == stock;
    const bool highContrast =
        theme.find("highcontrast") != std::string::npos || theme.find("contrasthigh") != std::string::npos;
    return {dark ? ColorScheme::dark : ColorScheme::light, std::nullopt, highContrast};
}

AppearanceReading readingOfKdeGlobals(std::string_view text) {
    AppearanceReading reading;
    if (const auto background = iniValue(text, "Colors:Window", "BackgroundNormal")) {
        if (const auto light = lightness(*background))
            reading.colorScheme = *light < 0.5 ? ColorScheme::dark : ColorScheme::light;
    }
    if (!reading.colorScheme) {
        if (const auto scheme = iniValue(text, "General", "ColorScheme"); scheme && !scheme->empty())
            reading.colorScheme = readingOfThemeName(*scheme).colorScheme;
    }
    if (const auto factor = iniValue(text, "KDE", "AnimationDurationFactor")) {
        if (const auto value = number(*factor)) reading.reduceMotion = *value <= 0;
    }
    return reading;
}

} // namespace rondelix::platform::linux_desktop
