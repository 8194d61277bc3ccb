#include "platform/linux/process/DrawerDrawings.h"

namespace rondelix::platform::linux_desktop {

std::optional<std::string> DrawerDrawings::renderPNG(const std::string& svg, int side, double seconds,
                                                     const Admission& admission) {
    if (side <= 0) return std::nullopt;
    return drawer_.pngAnswer({"drawing", std::to_string(side)}, svg, seconds, account_, admission);
}

} // namespace rondelix::platform::linux_desktop
