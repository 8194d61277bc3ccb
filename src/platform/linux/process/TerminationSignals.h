#pragma once

#include <functional>

namespace rondelix::platform::linux_desktop {

// Turns SIGTERM, SIGINT and SIGHUP into a call on the Qt event loop's thread,
// so that the program quits in order (the clipboard restored, the launch
// marked as survived) when the session ends or the user stops it.
void onTerminationSignals(std::function<void()> handler);

} // namespace rondelix::platform::linux_desktop
