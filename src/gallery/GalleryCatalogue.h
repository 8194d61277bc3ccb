#pragma once

#include "gallery/GalleryWheel.h"

#include <initializer_list>
#include <string_view>
#include <vector>

// The building blocks of the gallery's ready-made wheels: every wheel is one
// table of rows in one of the category files, turned into a GalleryWheel by
// define(), which numbers the slots in table order and gives each slice a
// fresh id.
namespace rondelix::GalleryCatalogue {

using Category = GalleryWheel::Category;

// A keystroke written as it is shown: modifier symbols, then the key's label
// ("⇧⌘T", "⌘Space", "⌥⌘⎋", "F11", "⌃⌥↩", "❖←"; "⌨4" is the keypad's 4).
MacroAction key(std::string_view shown);
MacroAction link(std::string_view address);
MacroAction system(std::string_view actionId);
MacroAction text(std::string_view typed);
Icon emoji(std::string_view character);

struct SliceRow {
    // A slice that shows a system symbol.
    SliceRow(std::string_view label, std::string_view symbol, MacroAction action);
    SliceRow(std::string_view label, Icon icon, MacroAction action);
    // A link, which shows the site's own icon.
    SliceRow(std::string_view label, MacroAction link);

    std::string_view label;
    Icon icon;
    MacroAction action;
};

struct Heading {
    std::string_view id;
    std::string_view name;
    Category category;
    std::vector<Category> extraCategories;
    std::string_view summary;
};

GalleryWheel define(const Heading& heading, std::initializer_list<SliceRow> rows);

// All wheels, each built afresh, in catalogue order.
std::vector<GalleryWheel> build();

// Each category file adds its wheels; the gallery puts them in catalogue order.
// The desktop's own programs (files, browser, mail, calendar, photos, music,
// terminal, editors), each found through the desktop's equivalent.
void addDesktopAppWheels(std::vector<GalleryWheel>& out);
void addAppWheels(std::vector<GalleryWheel>& out);
void addProductivityWheels(std::vector<GalleryWheel>& out);
void addSystemWheels(std::vector<GalleryWheel>& out);
void addWebWheels(std::vector<GalleryWheel>& out);
void addFunWheels(std::vector<GalleryWheel>& out);

} // namespace rondelix::GalleryCatalogue
