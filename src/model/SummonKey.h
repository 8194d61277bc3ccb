#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace rondelix::platform {
class KeyboardLayout;
}

// Names and rules for the keys and buttons of summon bindings. Key codes are
// the system's own key positions; mouse buttons from 2 up are the button
// number plus 998.
namespace rondelix::SummonKey {

inline constexpr int capsLock = 57;

inline constexpr int mouseButtonOffset = 998;
inline constexpr int firstMouseButtonCode = 1000; // button 2, the middle button
inline constexpr int lastMouseButtonCode = 1029;  // button 31

constexpr bool isMouseButtonCode(int code) {
    return code >= firstMouseButtonCode && code <= lastMouseButtonCode;
}

// The code of mouse button 2 to 31; nothing for the left and right buttons
// and for numbers past the last code.
constexpr std::optional<int> mouseButtonCode(int button) {
    if (button < firstMouseButtonCode - mouseButtonOffset || button > lastMouseButtonCode - mouseButtonOffset)
        return std::nullopt;
    return button + mouseButtonOffset;
}

// The Command, Shift, Option and Control keys of both sides, and Fn. Caps
// Lock toggles rather than being held, so it is none of them.
inline constexpr std::array<int, 9> modifierCodes{54, 55, 56, 58, 59, 60, 61, 62, 63};

constexpr bool isModifierCode(int code) {
    for (int modifier : modifierCodes)
        if (modifier == code) return true;
    return false;
}

// Whether a binding may hold this code: a key position from 0 to 127 other
// than Caps Lock, or a mouse button from 2 to 31.
constexpr bool isAcceptedForSummoning(int code) {
    return (code >= 0 && code <= 127 && code != capsLock) || isMouseButtonCode(code);
}

// F1 to F20, in that order.
inline constexpr std::array<int, 20> triggerKeys{122, 120, 99,  118, 96,  97,  98, 100, 101, 109,
                                                 103, 111, 105, 107, 113, 106, 64, 79,  80,  90};

// Function keys that no keyboard shortcut of other programs uses:
// F13, F16, F17, F18, F19 and F20.
inline constexpr std::array<int, 6> spareFKeys{105, 106, 64, 79, 80, 90};

const std::map<int, std::string>& specialKeyNames();

// The display name of one key code; never empty. Keys that no table names
// are named by what they type on the current layout.
std::string name(int keyCode, const platform::KeyboardLayout& layout);

// The names in stored order joined by " + ", or "None" for no keys.
std::string comboName(const std::vector<int>& keyCodes, const platform::KeyboardLayout& layout);

// Whether the key is F1 to F20, which the recorder takes without a modifier.
bool isTriggerKey(int keyCode);

// Whether holding these keys may collide with typing or with other programs'
// shortcuts: true when a key is neither a modifier nor a spare function key.
bool comboMayCollide(const std::vector<int>& keyCodes);

} // namespace rondelix::SummonKey
