#include "platform/linux/x11/X11TrayColors.h"

#include <cstring>

namespace rondelix::platform::linux_desktop {

X11TrayColors::X11TrayColors(std::function<void()> changed)
    : property_("_NET_SYSTEM_TRAY_S", "_NET_SYSTEM_TRAY_COLORS", std::move(changed)) {}

std::optional<QColor> X11TrayColors::textColor() {
    // Foreground, error, warning and success, each red, green and blue in 16 bits.
    const auto value = property_.read();
    if (!value || value->format != 32 || value->bytes.size() < 3 * sizeof(std::uint32_t)) return std::nullopt;
    std::uint32_t rgb[3];
    std::memcpy(rgb, value->bytes.data(), sizeof rgb);
    return QColor::fromRgba64(static_cast<quint16>(rgb[0]), static_cast<quint16>(rgb[1]),
                              static_cast<quint16>(rgb[2]));
}

} // namespace rondelix::platform::linux_desktop
