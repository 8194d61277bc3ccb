#include "gallery/GalleryCatalogue.h"

#include "model/KeyComboText.h"

namespace rondelix::GalleryCatalogue {

namespace {

// Reads the key's label back to its code; a label no key has gives a code
// whose label reads "key-1", which the catalogue's checks reject.
int keyCodeForLabel(std::string_view label) {
    if (label == "Space") return 49;
    if (auto typed = KeyComboText::keyCode(label)) return *typed;
    for (const auto& [code, glyph] : KeyComboText::specialKeys())
        if (glyph == label) return code;
    return -1;
}

bool consumePrefix(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

} // namespace

MacroAction key(std::string_view shown) {
    KeyCombo combo;
    // The modifiers come in display order, each at most once.
    combo.control = consumePrefix(shown, KeyComboText::controlSymbol);
    combo.option = consumePrefix(shown, KeyComboText::optionSymbol);
    combo.shift = consumePrefix(shown, KeyComboText::shiftSymbol);
    combo.command = consumePrefix(shown, KeyComboText::commandSymbol);
    combo.keyCode = keyCodeForLabel(shown);
    return MacroAction::Keystroke{combo};
}

MacroAction link(std::string_view address) { return MacroAction::Url{std::string(address)}; }

MacroAction system(std::string_view actionId) { return MacroAction::SystemAction{std::string(actionId)}; }

MacroAction text(std::string_view typed) { return MacroAction::Text{std::string(typed)}; }

Icon emoji(std::string_view character) { return Icon::Emoji{std::string(character)}; }

SliceRow::SliceRow(std::string_view label, std::string_view symbol, MacroAction action)
    : label(label), icon(Icon::SfSymbol{std::string(symbol)}), action(std::move(action)) {}

SliceRow::SliceRow(std::string_view label, Icon icon, MacroAction action)
    : label(label), icon(std::move(icon)), action(std::move(action)) {}

SliceRow::SliceRow(std::string_view label, MacroAction link) : label(label), icon(Icon::Auto{}), action(std::move(link)) {}

GalleryWheel define(const Heading& heading, std::initializer_list<SliceRow> rows) {
    Wheel wheel;
    wheel.id = std::string(heading.id);
    wheel.name = std::string(heading.name);
    wheel.sliceCount = static_cast<int>(rows.size());
    wheel.slices.reserve(rows.size());
    int position = 0;
    for (const SliceRow& row : rows)
        wheel.slices.push_back(Slice{Uuid::generate(), position++, std::string(row.label), row.icon, row.action});
    return GalleryWheel{std::string(heading.id), heading.category, heading.extraCategories,
                        std::string(heading.summary), std::move(wheel)};
}

} // namespace rondelix::GalleryCatalogue
