#pragma once

#include "platform/linux/x11/X11ManagerProperty.h"

#include <QColor>
#include <functional>
#include <optional>

namespace rondelix::platform::linux_desktop {

// The colours a system tray asks its icons to draw in: the property
// _NET_SYSTEM_TRAY_COLORS that panels set on the tray's manager window, so
// that symbolic icons match the panel's text. Followed: a panel that
// changes them for a new theme, or a new tray, is told.
class X11TrayColors {
  public:
    explicit X11TrayColors(std::function<void()> changed);

    // The foreground; none when there is no tray, the program is not on
    // X11, or the panel sets no colours.
    std::optional<QColor> textColor();

  private:
    X11ManagerProperty property_;
};

} // namespace rondelix::platform::linux_desktop
