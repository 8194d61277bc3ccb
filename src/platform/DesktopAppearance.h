#pragma once

#include "util/Signal.h"

namespace rondelix::platform {

enum class ColorScheme { unknown, light, dark };

// What the user asked the desktop for: its colours, and the accessibility
// settings that change how the program draws and moves.
struct AppearanceSettings {
    ColorScheme colorScheme = ColorScheme::unknown;
    bool reduceMotion = false;
    bool highContrast = false;
    friend bool operator==(const AppearanceSettings&, const AppearanceSettings&) = default;
};

// The desktop's appearance settings as they stand, with a notice on the main
// queue whenever one really changes. A desktop that says nothing reads as
// an unknown scheme with both accessibility settings off.
class DesktopAppearance {
  public:
    virtual ~DesktopAppearance() = default;

    virtual AppearanceSettings settings() const = 0;

    Signal<> changed;
};

} // namespace rondelix::platform
