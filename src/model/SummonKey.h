#pragma once

#include "model/PcKeyNames.h"
#include "platform/ModifierFlags.h"
#include "platform/MouseButton.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace rondelix::platform {
class KeyboardLayout;
}

// Names and rules for the keys and buttons of summon bindings. Key codes are
// the program's own numbers for key positions, as config.json stores them,
// not the X server's key codes (platform/linux/x11/X11KeyTable.cpp maps the two);
// mouse buttons from 2 up are the button number plus 998.
namespace rondelix::SummonKey {

inline constexpr int mouseButtonOffset = 998;
inline constexpr int firstMouseButtonCode = MouseButton::middle + mouseButtonOffset;
inline constexpr int lastMouseButtonCode = MouseButton::last + mouseButtonOffset;

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

// The number of the mouse button a code stands for.
constexpr int mouseButtonOfCode(int code) {
    return code - mouseButtonOffset;
}

// Whether a binding may hold this code: a key position from 0 to 127 other
// than Caps Lock, or a mouse button from 2 to 31.
constexpr bool isAcceptedForSummoning(int code) {
    return (code >= 0 && code <= 127 && code != ModifierKeyCode::capsLock) || isMouseButtonCode(code);
}

// F1 to F20, in that order.
inline constexpr std::array<int, 20> triggerKeys{122, 120, 99,  118, 96,  97,  98, 100, 101, 109,
                                                 103, 111, 105, 107, 113, 106, 64, 79,  80,  90};

// Print Screen, Scroll Lock and Pause, which sit with the function keys.
inline constexpr std::array<int, 3> pcFunctionRowKeys{PcKeyCode::printScreen, PcKeyCode::scrollLock,
                                                      PcKeyCode::pause};

// Function keys that no keyboard shortcut of other programs uses:
// F13, F16, F17, F18, F19 and F20.
inline constexpr std::array<int, 6> spareFKeys{105, 106, 64, 79, 80, 90};

const std::map<int, std::string>& specialKeyNames();

// The display name of one key code; never empty. Keys that no table names
// are named by what they type on the current layout.
std::string name(int keyCode, const platform::KeyboardLayout& layout);

// The names in stored order joined by " + ", or "None" for no keys.
std::string comboName(const std::vector<int>& keyCodes, const platform::KeyboardLayout& layout);

// Whether the key is F1 to F20 or one of the PC keys beside them, which the
// recorder takes without a modifier.
bool isTriggerKey(int keyCode);

// Whether holding these keys may collide with typing or with other programs'
// shortcuts: true when a key is neither a modifier nor a spare function key.
bool comboMayCollide(const std::vector<int>& keyCodes);

// More keys than two hands hold at once: a binding that needs more can never
// be held whole, so it never summons.
constexpr std::size_t mostKeysHeldAtOnce = 10;
// What is said of a binding that needs more keys held at once than that;
// none for one that can summon.
std::optional<std::string> unholdableWarning(const std::vector<int>& keyCodes);
// Whether holding these keys can summon: at least one, and no more than can
// be held at once (a stored binding holds no key twice).
bool canSummonWith(const std::vector<int>& keyCodes);

} // namespace rondelix::SummonKey
