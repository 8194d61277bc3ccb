#pragma once

#include "model/KeyCombo.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// How a keystroke is shown and typed in: modifier symbols, key labels and the
// fixed US table between characters and key codes. Unlike summon-key names
// these never depend on the current keyboard layout.
namespace rondelix::KeyComboText {

inline constexpr std::string_view controlSymbol = "\u2303"; // ⌃
inline constexpr std::string_view optionSymbol = "\u2325";  // ⌥
inline constexpr std::string_view shiftSymbol = "\u21E7";   // ⇧
inline constexpr std::string_view commandSymbol = "\u2318"; // ⌘

// The character each key types on the US ANSI layout, in lower case; every
// code occurs once, so the table reads both ways.
extern const std::array<std::pair<char, int>, 48> charToCode;

// Glyphs and names of the keys that type no character.
const std::map<int, std::string>& specialKeys();

// The set modifiers' symbols in the order ⌃⌥⇧⌘, then the key's label.
std::string displayString(const KeyCombo& combo);

std::string keyLabel(int keyCode);

// The lower-case US character of the key; nothing for keys outside the table.
std::optional<char> character(int keyCode);

// The key that types this one character (UTF-8), after lower-casing it.
std::optional<int> keyCode(std::string_view character);

} // namespace rondelix::KeyComboText
