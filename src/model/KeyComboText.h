#pragma once

#include "model/KeyCombo.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// How a keystroke is shown and typed in: the keys as a PC keyboard prints
// them, and the fixed US table between characters and key codes. Unlike
// summon-key names these never depend on the current keyboard layout.
namespace rondelix::KeyComboText {

// The modifier words, in the order a combination lists them. Command
// travels as Control and reads "Ctrl"; Super reads as itself.
inline constexpr std::string_view superWord = "Super";
inline constexpr std::string_view ctrlWord = "Ctrl";
inline constexpr std::string_view altWord = "Alt";
inline constexpr std::string_view shiftWord = "Shift";

// The character each key types on the US ANSI layout, in lower case; every
// code occurs once, so the table reads both ways.
extern const std::array<std::pair<char, int>, 48> charToCode;

// Names of the keys that type no character.
const std::map<int, std::string>& specialKeys();

// The combination as it is sent, e.g. "Ctrl+C", "Ctrl+Shift+Z",
// "Super+Alt+Left": the modifiers in the order Super, Ctrl, Alt, Shift, then
// the key, joined with "+". Command travels as Control, so both read "Ctrl", once.
std::string displayString(const KeyCombo& combo);

std::string keyLabel(int keyCode);

// The lower-case US character of the key; nothing for keys outside the table.
std::optional<char> character(int keyCode);

// The key that types this one character (UTF-8), after lower-casing it.
std::optional<int> keyCode(std::string_view character);

} // namespace rondelix::KeyComboText
