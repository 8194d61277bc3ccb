#pragma once

#include "platform/DesktopAppearance.h"

#include <initializer_list>
#include <optional>
#include <string_view>

namespace rondelix::platform::linux_desktop {

// What one source of desktop settings says; a setting it does not speak
// for stays empty, and the next source is asked.
struct AppearanceReading {
    std::optional<ColorScheme> colorScheme;
    std::optional<bool> reduceMotion;
    std::optional<bool> highContrast;
};

// Each setting from the first reading that has it; off where none does.
AppearanceSettings firstAnswers(std::initializer_list<AppearanceReading> readings);

// What a GTK theme's name tells: dark themes carry "dark" in their names
// ("Adwaita-dark", "Greybird-dark") except a few stock ones, and high
// contrast themes carry "HighContrast" or "ContrastHigh". Nothing for an
// empty name.
AppearanceReading readingOfThemeName(std::string_view name);

// What KDE's kdeglobals says: the window background of the colour scheme in
// use (dark when its lightness is under half), else the scheme's name, and
// an animation speed of zero ("instant") as reduced motion.
AppearanceReading readingOfKdeGlobals(std::string_view text);

} // namespace rondelix::platform::linux_desktop
