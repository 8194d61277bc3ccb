#pragma once

#include "icons/ExportedIcons.h"
#include "model/Config.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rondelix {

// The content of a shared wheel file (".rondix"): one wheel and the custom
// pictures its slices show.
struct SharedWheel {
    static constexpr std::int64_t currentVersion = 1;
    static constexpr const char* fileExtension = "rondix";

    // Written as 1; any integer is read and none is refused.
    std::int64_t rondixVersion = currentVersion;
    Wheel wheel;
    ExportedIcons icons;

    friend bool operator==(const SharedWheel&, const SharedWheel&) = default;

    // Reads the file form. All three members are required and must have
    // their types; other members are ignored and the wheel is read tolerantly.
    static std::optional<SharedWheel> decode(std::string_view bytes);

    // The file form: pretty-printed with sorted keys.
    std::string fileBytes() const;
};

} // namespace rondelix
