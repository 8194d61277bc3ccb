#include "gallery/GalleryWheel.h"

#include <algorithm>

namespace rondelix {

bool GalleryWheel::isListedUnder(Category c) const {
    return category == c ||
           std::find(extraCategories.begin(), extraCategories.end(), c) != extraCategories.end();
}

std::string_view GalleryWheel::rawValue(Category c) {
    switch (c) {
    case Category::apps:
        return "Apps";
    case Category::productivity:
        return "Productivity";
    case Category::system:
        return "System";
    case Category::web:
        return "Web & AI";
    case Category::music:
        return "Music";
    case Category::fun:
        return "Fun";
    }
    return "Apps";
}

std::optional<GalleryWheel::Category> GalleryWheel::fromRaw(std::string_view raw) {
    for (Category c : allCategories)
        if (rawValue(c) == raw) return c;
    return std::nullopt;
}

} // namespace rondelix
