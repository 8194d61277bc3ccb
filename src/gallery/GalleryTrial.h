#pragma once

#include "gallery/GalleryServices.h"
#include "model/Config.h"

#include <string>

namespace rondelix::platform {
class Workspace;
} // namespace rondelix::platform

namespace rondelix {

// Trying a slice on the gallery's preview: only a link really opens; every
// other action only says what it would do, so trying never types, presses
// keys, runs anything or changes a setting.
struct GalleryTrial {
    std::string message;
    bool opensLink = false;
};

// A system action that does nothing on this desktop says so instead of
// promising to run.
GalleryTrial trySlice(const Slice& slice, const platform::Workspace& workspace,
                      const SystemActionUnavailable& unavailable = {});

// The text with line feeds as spaces, cut to 20 characters and "…" when it
// has 21 or more.
std::string shortenedForToast(const std::string& text);

} // namespace rondelix
