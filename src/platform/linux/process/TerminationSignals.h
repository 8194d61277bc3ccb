#pragma once

#include <functional>

namespace rondelix::platform::linux_desktop {

// Turns SIGTERM, SIGINT and SIGHUP into a call on the Qt event loop's thread,
// so that the program quits in order (the clipboard restored, the launch
// marked as survived) when the session ends or the user stops it.
void onTerminationSignals(std::function<void()> handler);

// Whether one of those signals has come, from the moment it came: true even
// before the event loop has run the handler, so that what answers other
// processes meanwhile can already answer as a quitting program.
bool terminationSignalReceived();

} // namespace rondelix::platform::linux_desktop
