#include "platform/linux/process/DrawerDrawings.h"

namespace rondelix::platform::linux_desktop {

std::optional<std::string> DrawerDrawings::renderPNG(const std::string& svg, int side, double seconds,
                                                     [[maybe_unused]] std::shared_ptr<const void> hold) {
    // The hold lives as long as this call, and the call reaps its drawer before it returns.
    if (side <= 0) return std::nullopt;
    return drawer_.pngAnswer({"drawing", std::to_string(side)}, svg, seconds, account_);
}

} // namespace rondelix::platform::linux_desktop
