#pragma once

namespace rondelix {

// One key with the modifiers held with it. Command travels as Control, as
// Linux programs take their shortcuts on Control; `super` holds the Super key
// itself, for the desktop's own shortcuts (files from before it lack it).
struct KeyCombo {
    int keyCode = 0;
    bool command = false;
    bool shift = false;
    bool option = false;
    bool control = false;
    bool super = false;

    friend bool operator==(const KeyCombo&, const KeyCombo&) = default;
};

} // namespace rondelix
