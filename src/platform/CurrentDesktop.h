#pragma once

#include <string>
#include <string_view>

namespace rondelix::platform {

// Whether XDG_CURRENT_DESKTOP's colon-separated list ("ubuntu:GNOME")
// names this desktop ("GNOME", "KDE", "XFCE", "MATE", "X-Cinnamon").
bool namesDesktop(std::string_view currentDesktop, std::string_view desktop);

// The running session's XDG_CURRENT_DESKTOP; empty when it is not set.
std::string currentDesktop();

} // namespace rondelix::platform
