#pragma once

#include "model/Config.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

// One ready-made wheel of the gallery. Its id ("gallery-" and a kebab-case
// name) is also the id of its wheel; the wheel itself is complete but bound to
// no application.
struct GalleryWheel {
    // The raw value is also the title the gallery shows.
    enum class Category { apps, productivity, system, web, music, fun };
    static constexpr std::array<Category, 6> allCategories{Category::apps,   Category::productivity,
                                                           Category::system, Category::web,
                                                           Category::music,  Category::fun};

    std::string id;
    Category category = Category::apps;
    std::vector<Category> extraCategories;
    std::string summary;
    Wheel wheel;

    // Listed under this category, as its primary one or an extra one.
    bool isListedUnder(Category c) const;

    static std::string_view rawValue(Category c);
    // Exact match on the raw value, letter case and spacing included.
    static std::optional<Category> fromRaw(std::string_view raw);
};

} // namespace rondelix
