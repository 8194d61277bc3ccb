#pragma once

#include "platform/linux/desktop/AppearanceReading.h"

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <variant>

namespace rondelix::platform::linux_desktop {

// The settings a desktop's settings daemon publishes to X programs
// ("Net/ThemeName", "Gtk/EnableAnimations"): integers and texts; colours
// are left out.
using XSettings = std::map<std::string, std::variant<std::int32_t, std::string>>;

// Decodes the "_XSETTINGS_SETTINGS" property. A damaged or cut-off property
// yields the settings read before the damage.
XSettings decodedXSettings(std::span<const std::uint8_t> property);

// The theme's name and whether animations are on.
AppearanceReading readingOfXSettings(const XSettings& settings);

} // namespace rondelix::platform::linux_desktop
