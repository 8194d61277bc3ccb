#include "platform/CurrentDesktop.h"

#include <algorithm>
#include <cstdlib>

namespace rondelix::platform {

bool namesDesktop(std::string_view currentDesktop, std::string_view desktop) {
    if (desktop.empty()) return false;
    std::size_t start = 0;
    while (start <= currentDesktop.size()) {
        const std::size_t end = std::min(currentDesktop.find(':', start), currentDesktop.size());
        if (currentDesktop.substr(start, end - start) == desktop) return true;
        start = end + 1;
    }
    return false;
}

std::string currentDesktop() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    return desktop ? desktop : "";
}

} // namespace rondelix::platform
