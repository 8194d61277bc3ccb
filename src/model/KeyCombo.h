#pragma once

namespace rondelix {

// One key to send with the modifiers held with it. `primary` is the shortcut
// key, sent as Ctrl because Linux programs take their shortcuts on Control;
// `control` is a Control key kept apart from it in files written where the
// two differ, sent as Ctrl as well. `alt` is Alt, and `super` the Super key
// itself, for the desktop's own shortcuts (files from before it lack it).
// config.json keeps the keys it always had: "command" for `primary` and
// "option" for `alt`.
struct KeyCombo {
    int keyCode = 0;
    bool primary = false;
    bool shift = false;
    bool alt = false;
    bool control = false;
    bool super = false;

    friend bool operator==(const KeyCombo&, const KeyCombo&) = default;
};

} // namespace rondelix
