#pragma once

#include "gallery/WheelGallery.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>

namespace rondelix::testsupport {

// A catalogue wheel by its gallery id; a test naming a missing one fails loudly.
inline const GalleryWheel& galleryWheel(std::string_view id) {
    const auto& all = WheelGallery::all();
    const auto found =
        std::find_if(all.begin(), all.end(), [id](const GalleryWheel& g) { return g.id == id; });
    if (found == all.end()) throw std::invalid_argument("no gallery wheel " + std::string(id));
    return *found;
}

} // namespace rondelix::testsupport
