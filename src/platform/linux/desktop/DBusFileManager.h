#pragma once

#include <QDBusConnection>
#include <functional>
#include <string>

namespace rondelix::platform::linux_desktop {

// The file manager's own interface on the session bus, where one offers it
// (org.freedesktop.FileManager1): the one way to show a file selected in
// its folder rather than only the folder.
struct DBusFileManager {
    // Asks it to show the file at `path` selected; `done` runs on the event
    // loop with whether a file manager took the request (false where none
    // offers the interface, or the bus is out of reach).
    static void showItem(const QDBusConnection& bus, const std::string& path,
                         std::function<void(bool shown)> done);
};

} // namespace rondelix::platform::linux_desktop
