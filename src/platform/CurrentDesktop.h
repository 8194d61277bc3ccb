#pragma once

#include <string_view>

namespace rondelix::platform {

// Whether XDG_CURRENT_DESKTOP's colon-separated list ("ubuntu:GNOME")
// names this desktop ("GNOME", "KDE", "XFCE", "MATE", "X-Cinnamon").
bool namesDesktop(std::string_view currentDesktop, std::string_view desktop);

} // namespace rondelix::platform
