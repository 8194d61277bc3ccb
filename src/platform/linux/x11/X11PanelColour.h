#pragma once

#include <QColor>
#include <cstdint>
#include <optional>
#include <vector>

struct xcb_connection_t;

namespace rondelix::platform::linux_desktop {

// The colour the desktop's panels show as they are drawn now: the commonest
// colour of the dock windows on screen. A panel that hosts its tray items
// itself (a StatusNotifierItem host) says neither where an item sits nor
// what it is drawn on, and a panel that changes its look may go on
// publishing the colours of its old one; what it shows is the answer. None
// without X11 or without a panel on screen.
std::optional<QColor> panelColour();

// The windows on screen that are docks: the panels.
std::vector<std::uint32_t> dockWindows(xcb_connection_t* connection, std::uint32_t root);

} // namespace rondelix::platform::linux_desktop
