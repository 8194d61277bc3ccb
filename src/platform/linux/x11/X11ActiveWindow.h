#pragma once

#include <optional>
#include <string>

namespace rondelix::platform::linux_desktop {

// What the window manager and the window itself say about the application
// that owns the focused window. Any field may be empty.
struct ActiveWindowIdentity {
    std::string applicationId;   // _GTK_APPLICATION_ID: a desktop-entry id
    std::string desktopFile;     // _KDE_NET_WM_DESKTOP_FILE
    std::string wmClassInstance; // WM_CLASS, first part
    std::string wmClass;         // WM_CLASS, second part
    std::optional<long> process; // _NET_WM_PID
};

// None without an X display or without a focused window. With no window
// manager, the window with the keyboard focus (or under the pointer, where the
// focus follows it) stands for the active one.
std::optional<ActiveWindowIdentity> activeWindowIdentity();

// Opens the look-up's own connection, learns the names of the properties it
// reads and looks once: round trips that the first look-up would otherwise
// make.
void prepareActiveWindowIdentity();

} // namespace rondelix::platform::linux_desktop
