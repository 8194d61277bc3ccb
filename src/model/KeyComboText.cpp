#include "model/KeyComboText.h"

#include "model/PcKeyNames.h"
#include "util/Ascii.h"
#include "util/Utf8.h"

#include <algorithm>

namespace rondelix::KeyComboText {

namespace {

constexpr int spaceKeyCode = 49;
// The only scalar outside ASCII whose lower case is one of the table's
// characters: the Kelvin sign lower-cases to "k".
constexpr char32_t kelvinSign = 0x212A;

std::optional<char> lowerTableCharacter(char32_t scalar) {
    if (scalar == kelvinSign) return 'k';
    if (scalar >= U'A' && scalar <= U'Z') return static_cast<char>(scalar - U'A' + U'a');
    if (scalar < 0x80) return static_cast<char>(scalar);
    return std::nullopt;
}

} // namespace

const std::array<std::pair<char, int>, 48> charToCode{{
    {'a', 0},   {'s', 1},  {'d', 2},  {'f', 3},  {'h', 4},  {'g', 5},   {'z', 6},  {'x', 7},
    {'c', 8},   {'v', 9},  {'b', 11}, {'q', 12}, {'w', 13}, {'e', 14},  {'r', 15}, {'y', 16},
    {'t', 17},  {'1', 18}, {'2', 19}, {'3', 20}, {'4', 21}, {'6', 22},  {'5', 23}, {'=', 24},
    {'9', 25},  {'7', 26}, {'-', 27}, {'8', 28}, {'0', 29}, {']', 30},  {'o', 31}, {'u', 32},
    {'[', 33},  {'i', 34}, {'p', 35}, {'l', 37}, {'j', 38}, {'\'', 39}, {'k', 40}, {';', 41},
    {'\\', 42}, {',', 43}, {'/', 44}, {'n', 45}, {'m', 46}, {'.', 47},  {' ', 49}, {'`', 50},
}};

const std::map<int, std::string>& specialKeys() {
    // clang-format off
    static const std::map<int, std::string> keys{
        {36, "Enter"}, {76, "Keypad Enter"}, {48, "Tab"}, {51, "Backspace"}, {117, "Delete"},
        {53, "Esc"}, {114, "Insert"}, {123, "Left"}, {124, "Right"}, {125, "Down"},
        {126, "Up"}, {115, "Home"}, {119, "End"}, {116, "Page Up"}, {121, "Page Down"},
        {122, "F1"}, {120, "F2"}, {99, "F3"}, {118, "F4"}, {96, "F5"},
        {97, "F6"}, {98, "F7"}, {100, "F8"}, {101, "F9"}, {109, "F10"},
        {103, "F11"}, {111, "F12"}, {105, "F13"}, {107, "F14"}, {113, "F15"},
        {106, "F16"}, {64, "F17"}, {79, "F18"}, {80, "F19"}, {90, "F20"},
        {10, "<"},
        {82, "Keypad 0"}, {83, "Keypad 1"}, {84, "Keypad 2"}, {85, "Keypad 3"}, {86, "Keypad 4"},
        {87, "Keypad 5"}, {88, "Keypad 6"}, {89, "Keypad 7"}, {91, "Keypad 8"}, {92, "Keypad 9"},
        {65, "Keypad ."}, {67, "Keypad *"}, {69, "Keypad +"}, {75, "Keypad /"}, {78, "Keypad -"},
        {81, "Keypad ="},
    };
    // clang-format on
    return keys;
}

std::string displayString(const KeyCombo& combo) {
    std::string text;
    auto add = [&text](std::string_view word) {
        text += word;
        text += '+';
    };
    if (combo.super) add(superWord);
    if (combo.primary || combo.control) add(ctrlWord);
    if (combo.alt) add(altWord);
    if (combo.shift) add(shiftWord);
    return text + keyLabel(combo.keyCode);
}

std::string keyLabel(int keyCode) {
    if (keyCode == spaceKeyCode) return "Space";
    if (auto typed = character(keyCode)) return std::string(1, asciiUpper(*typed));
    if (const auto pc = pcKeyName(keyCode)) return std::string(*pc);
    const auto& special = specialKeys();
    if (auto it = special.find(keyCode); it != special.end()) return it->second;
    return "key" + std::to_string(keyCode);
}

std::optional<char> character(int keyCode) {
    auto it = std::find_if(charToCode.begin(), charToCode.end(),
                           [keyCode](const auto& row) { return row.second == keyCode; });
    if (it == charToCode.end()) return std::nullopt;
    return it->first;
}

std::optional<int> keyCode(std::string_view character) {
    const std::u32string scalars = utf8::decode(character);
    if (scalars.size() != 1) return std::nullopt;
    const auto lower = lowerTableCharacter(scalars.front());
    if (!lower) return std::nullopt;
    auto it = std::find_if(charToCode.begin(), charToCode.end(),
                           [c = *lower](const auto& row) { return row.first == c; });
    if (it == charToCode.end()) return std::nullopt;
    return it->second;
}

} // namespace rondelix::KeyComboText
