#pragma once

#include <vector>

namespace rondelix::platform::linux_desktop {

// A modifier key, by its X key code and the modifier bit it sets. Alt and
// Super are tap-sensitive: desktops open a menu or an overview when one is
// pressed and released with no other key between.
struct ModifierKey {
    int xKeyCode = 0;
    unsigned mask = 0;
    bool tapSensitive = false;
    friend bool operator==(const ModifierKey&, const ModifierKey&) = default;
};

// What posting one keystroke does with the modifiers, so that the receiving
// program sees exactly the keystroke's own: the held keys that set another
// modifier are lifted before the stroke and put back after it; the
// stroke's modifiers that a held key already sets are not pressed again.
struct ModifierLift {
    std::vector<int> lift;
    std::vector<int> press;
    // Tap a key that types nothing before lifting and after putting back,
    // so neither the lift nor the user's own later release reads as a lone
    // Alt or Super tap.
    bool breakTaps = false;
    friend bool operator==(const ModifierLift&, const ModifierLift&) = default;
};

ModifierLift planModifierLift(const std::vector<ModifierKey>& held, const std::vector<ModifierKey>& stroke);

} // namespace rondelix::platform::linux_desktop
