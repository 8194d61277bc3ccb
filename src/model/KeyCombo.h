#pragma once

namespace rondelix {

// One key with the modifiers held with it.
struct KeyCombo {
    int keyCode = 0;
    bool command = false;
    bool shift = false;
    bool option = false;
    bool control = false;

    friend bool operator==(const KeyCombo&, const KeyCombo&) = default;
};

} // namespace rondelix
