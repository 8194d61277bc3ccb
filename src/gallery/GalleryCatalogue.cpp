#include "gallery/GalleryCatalogue.h"

#include "model/KeyComboText.h"

#include <algorithm>
#include <array>

namespace rondelix::GalleryCatalogue {

namespace {

// The catalogue writes keystrokes in the notation of the desktop its wheels
// come from: modifier glyphs in the order ⌃⌥⇧❖⌘, then the key. ❖ is the
// Super key itself, which the window managers here take their keys on.
constexpr std::string_view controlGlyph = "⌃";
constexpr std::string_view optionGlyph = "⌥";
constexpr std::string_view shiftGlyph = "⇧";
constexpr std::string_view superGlyph = "❖";
constexpr std::string_view commandGlyph = "⌘";

struct KeyGlyph {
    std::string_view glyph;
    int keyCode;
};

constexpr KeyGlyph keyGlyphs[] = {
    {"Space", 49}, {"↩", 36},    {"⌅", 76},    {"⇥", 48},  {"⌫", 51},  {"⌦", 117}, {"⎋", 53},   {"←", 123},
    {"→", 124},    {"↓", 125},   {"↑", 126},   {"↖", 115}, {"↘", 119}, {"⇞", 116}, {"⇟", 121},  {"F1", 122},
    {"F2", 120},   {"F3", 99},   {"F4", 118},  {"F5", 96}, {"F6", 97}, {"F7", 98}, {"F8", 100}, {"F9", 101},
    {"F10", 109},  {"F11", 103}, {"F12", 111}, {"⌨2", 84}, {"⌨4", 86}, {"⌨6", 88}, {"⌨8", 91},
};

// A key no table names gives -1, which the catalogue's checks reject.
int keyCodeFor(std::string_view key) {
    for (const KeyGlyph& row : keyGlyphs)
        if (row.glyph == key) return row.keyCode;
    if (auto typed = KeyComboText::keyCode(key)) return *typed;
    return -1;
}

bool consumePrefix(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

// The order the gallery lists its wheels in before any sorting.
constexpr std::array<std::string_view, 61> catalogueOrder{
    "gallery-browser",
    "gallery-writing",
    "gallery-windows",
    "gallery-system",
    "gallery-screenshots",
    "gallery-emoji",
    "gallery-figma",
    "gallery-photoshop",
    "gallery-finalcut",
    "gallery-ai-assistants",
    "gallery-quick-open",
    "gallery-text-editing",
    "gallery-clipboard-edit",
    "gallery-finder",
    "gallery-safari",
    "gallery-preview",
    "gallery-apple-mail",
    "gallery-apple-messages",
    "gallery-apple-notes",
    "gallery-apple-calendar",
    "gallery-apple-photos",
    "gallery-apple-music",
    "gallery-spotify",
    "gallery-slack",
    "gallery-discord",
    "gallery-zoom",
    "gallery-teams",
    "gallery-chrome",
    "gallery-vscode",
    "gallery-xcode",
    "gallery-terminal",
    "gallery-notion",
    "gallery-obsidian",
    "gallery-word",
    "gallery-excel",
    "gallery-rectangle",
    "gallery-firefox",
    "gallery-sublime-text",
    "gallery-ghostty",
    "gallery-keepassxc",
    "gallery-file-document",
    "gallery-find-replace",
    "gallery-app-switching",
    "gallery-zoom-view",
    "gallery-settings-help",
    "gallery-system-navigation",
    "gallery-capture-clipboard",
    "gallery-display-media",
    "gallery-power-lock",
    "gallery-google-workspace",
    "gallery-dev-docs",
    "gallery-search-reference",
    "gallery-social",
    "gallery-streaming",
    "gallery-design-web",
    "gallery-dev-playgrounds",
    "gallery-kaomoji",
    "gallery-fancy-text",
    "gallery-meme-machine",
    "gallery-time-killers",
    "gallery-system-playback",
};

} // namespace

std::vector<GalleryWheel> build() {
    std::vector<GalleryWheel> built;
    built.reserve(catalogueOrder.size());
    GalleryCatalogue::addProductivityWheels(built);
    GalleryCatalogue::addSystemWheels(built);
    GalleryCatalogue::addFunWheels(built);
    GalleryCatalogue::addAppWheels(built);
    GalleryCatalogue::addDesktopAppWheels(built);
    GalleryCatalogue::addWebWheels(built);

    std::vector<GalleryWheel> ordered;
    ordered.reserve(built.size());
    for (std::string_view id : catalogueOrder) {
        auto found =
            std::find_if(built.begin(), built.end(), [id](const GalleryWheel& g) { return g.id == id; });
        if (found != built.end()) ordered.push_back(std::move(*found));
    }
    return ordered;
}

MacroAction key(std::string_view shown) {
    KeyCombo combo;
    combo.control = consumePrefix(shown, controlGlyph);
    combo.alt = consumePrefix(shown, optionGlyph);
    combo.shift = consumePrefix(shown, shiftGlyph);
    combo.super = consumePrefix(shown, superGlyph);
    combo.primary = consumePrefix(shown, commandGlyph);
    combo.keyCode = keyCodeFor(shown);
    return MacroAction::Keystroke{combo};
}

MacroAction link(std::string_view address) {
    return MacroAction::Url{std::string(address)};
}

MacroAction system(std::string_view actionId) {
    return MacroAction::SystemAction{std::string(actionId)};
}

MacroAction text(std::string_view typed) {
    return MacroAction::Text{std::string(typed)};
}

Icon emoji(std::string_view character) {
    return Icon::Emoji{std::string(character)};
}

SliceRow::SliceRow(std::string_view label, std::string_view symbol, MacroAction action)
    : label(label), icon(Icon::SfSymbol{std::string(symbol)}), action(std::move(action)) {}

SliceRow::SliceRow(std::string_view label, Icon icon, MacroAction action)
    : label(label), icon(std::move(icon)), action(std::move(action)) {}

SliceRow::SliceRow(std::string_view label, MacroAction link)
    : label(label), icon(Icon::Auto{}), action(std::move(link)) {}

GalleryWheel define(const Heading& heading, std::initializer_list<SliceRow> rows) {
    Wheel wheel;
    wheel.id = std::string(heading.id);
    wheel.name = std::string(heading.name);
    wheel.sliceCount = static_cast<int>(rows.size());
    wheel.slices.reserve(rows.size());
    int position = 0;
    for (const SliceRow& row : rows)
        wheel.slices.push_back(
            Slice{Uuid::generate(), position++, std::string(row.label), row.icon, row.action});
    return GalleryWheel{std::string(heading.id), heading.category, heading.extraCategories,
                        std::string(heading.summary), std::move(wheel)};
}

} // namespace rondelix::GalleryCatalogue
