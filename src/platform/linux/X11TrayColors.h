#pragma once

#include <QColor>
#include <optional>

namespace rondelix::platform::linux_desktop {

// The colour a system tray asks its icons to draw in: the foreground of the
// property _NET_SYSTEM_TRAY_COLORS that panels set on the tray's manager
// window, so that symbolic icons match the panel's text. None when there is
// no tray, the program is not on X11, or the panel sets no colours.
std::optional<QColor> trayTextColor();

} // namespace rondelix::platform::linux_desktop
