#include "platform/sim/SimKeyboardLayout.h"

#include "model/KeyComboText.h"

namespace rondelix::platform::sim {

namespace {

// What the US layout gives beyond the letter, digit and punctuation keys.
constexpr std::pair<int, std::string_view> otherKeys[] = {
    {36, "\r"}, {48, "\t"}, {51, "\b"}, {53, "\x1B"}, {76, "\x03"}, {65, "."}, {67, "*"},
    {69, "+"},  {75, "/"},  {78, "-"},  {81, "="},    {82, "0"},    {83, "1"}, {84, "2"},
    {85, "3"},  {86, "4"},  {87, "5"},  {88, "6"},    {89, "7"},    {91, "8"}, {92, "9"},
};

} // namespace

SimKeyboardLayout::SimKeyboardLayout() {
    for (const auto& [character, code] : KeyComboText::charToCode)
        typed_[code] = std::string(1, character);
    for (const auto& [code, text] : otherKeys)
        typed_[code] = std::string(text);
}

std::optional<std::string> SimKeyboardLayout::typedText(int keyCode) const {
    auto it = typed_.find(keyCode);
    return it == typed_.end() ? std::nullopt : it->second;
}

std::optional<int> SimKeyboardLayout::keyCodeForNativeKey(std::uint32_t nativeCode, std::uint32_t) const {
    if (nativeCode < nativeCodeOffset) return std::nullopt;
    return static_cast<int>(nativeCode - nativeCodeOffset);
}

void SimKeyboardLayout::setTypedText(int keyCode, std::optional<std::string> text) {
    typed_[keyCode] = std::move(text);
}

} // namespace rondelix::platform::sim
