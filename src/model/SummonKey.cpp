#include "model/SummonKey.h"

#include "model/PcKeyNames.h"
#include "platform/KeyboardLayout.h"
#include "util/TextTrimming.h"
#include "util/UnicodeProperties.h"
#include "util/Utf8.h"

#include <algorithm>
#include <utility>

namespace rondelix::SummonKey {

namespace {

// Searched before anything else: the keys a binding usually holds, named as
// a PC keyboard prints them (Option is Alt, Command is Super).
constexpr std::array<std::pair<int, std::string_view>, 18> fixedNames{{
    {58, "Left Alt"},
    {61, "Right Alt"},
    {55, "Left Super"},
    {54, "Right Super"},
    {59, "Left Ctrl"},
    {62, "Right Ctrl"},
    {56, "Left Shift"},
    {60, "Right Shift"},
    {63, "Fn"},
    {105, "F13"},
    {106, "F16"},
    {64, "F17"},
    {79, "F18"},
    {80, "F19"},
    {90, "F20"},
    {firstMouseButtonCode, "Middle Click"},
    {1001, "Mouse 4"},
    {1002, "Mouse 5"},
}};

// Mouse codes count buttons from 0; people count them from 1.
constexpr int mouseNameOffset = 997;

template <std::size_t N> bool contains(const std::array<int, N>& codes, int code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool hasControlOrFormat(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size())
        if (unicode::isControlOrFormat(utf8::decodeNext(text, pos))) return true;
    return false;
}

// What the key types on the current layout, when that is something a person
// can read: keys that type a space, a line break or a control character
// (Return, Tab, Escape, the function keys) have no character to show.
std::optional<std::string> layoutCharacter(int keyCode, const platform::KeyboardLayout& layout) {
    if (keyCode < 0 || keyCode > 127) return std::nullopt;
    const auto typed = layout.typedText(keyCode);
    if (!typed) return std::nullopt;
    const std::string_view character = trimmedWhitespace(*typed);
    if (character.empty() || hasControlOrFormat(character)) return std::nullopt;
    return std::string(character);
}

} // namespace

const std::map<int, std::string>& specialKeyNames() {
    static const std::map<int, std::string> names{
        {122, "F1"},          {120, "F2"},         {99, "F3"},        {118, "F4"},        {96, "F5"},
        {97, "F6"},           {98, "F7"},          {100, "F8"},       {101, "F9"},        {109, "F10"},
        {103, "F11"},         {111, "F12"},        {49, "Space"},     {48, "Tab"},        {36, "Enter"},
        {76, "Keypad Enter"}, {53, "Esc"},         {51, "Backspace"}, {117, "Delete"},    {114, "Insert"},
        {115, "Home"},        {119, "End"},        {116, "Page Up"},  {121, "Page Down"}, {123, "Left Arrow"},
        {124, "Right Arrow"}, {125, "Down Arrow"}, {126, "Up Arrow"}, {81, "Keypad ="},   {75, "Keypad /"},
        {67, "Keypad *"},     {78, "Keypad -"},    {69, "Keypad +"},  {65, "Keypad ."},   {82, "Keypad 0"},
        {83, "Keypad 1"},     {84, "Keypad 2"},    {85, "Keypad 3"},  {86, "Keypad 4"},   {87, "Keypad 5"},
        {88, "Keypad 6"},     {89, "Keypad 7"},    {91, "Keypad 8"},  {92, "Keypad 9"},   {107, "F14"},
        {113, "F15"},
    };
    return names;
}

std::string name(int keyCode, const platform::KeyboardLayout& layout) {
    for (const auto& [code, fixed] : fixedNames)
        if (code == keyCode) return std::string(fixed);
    if (isMouseButtonCode(keyCode)) return "Mouse " + std::to_string(keyCode - mouseNameOffset);
    if (const auto pc = pcKeyName(keyCode)) return std::string(*pc);
    const auto& special = specialKeyNames();
    if (auto it = special.find(keyCode); it != special.end()) return it->second;
    if (auto character = layoutCharacter(keyCode, layout)) return unicode::upperCased(*character);
    return "Key " + std::to_string(keyCode);
}

std::string comboName(const std::vector<int>& keyCodes, const platform::KeyboardLayout& layout) {
    if (keyCodes.empty()) return "None";
    std::string joined;
    for (std::size_t i = 0; i < keyCodes.size(); ++i) {
        if (i > 0) joined += " + ";
        joined += name(keyCodes[i], layout);
    }
    return joined;
}

bool isTriggerKey(int keyCode) {
    return contains(triggerKeys, keyCode) || contains(pcFunctionRowKeys, keyCode);
}

bool comboMayCollide(const std::vector<int>& keyCodes) {
    return std::any_of(keyCodes.begin(), keyCodes.end(), [](int code) {
        const bool harmless = (code >= 0 && code <= 63 && isHeldModifier(code)) || contains(spareFKeys, code);
        return !harmless;
    });
}

bool canSummonWith(const std::vector<int>& keyCodes) {
    return !keyCodes.empty() && keyCodes.size() <= mostKeysHeldAtOnce;
}

std::optional<std::string> unholdableWarning(const std::vector<int>& keyCodes) {
    if (keyCodes.size() <= mostKeysHeldAtOnce) return std::nullopt;
    return "This binding needs " + std::to_string(keyCodes.size()) +
           " keys held at once, more than two hands can hold, so it never summons. Record a shorter one.";
}

} // namespace rondelix::SummonKey
