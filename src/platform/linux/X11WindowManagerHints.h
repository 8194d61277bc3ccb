#pragma once

namespace rondelix::platform::linux_desktop {

// Whether the running window manager (or compositor) lists the hint among
// those it supports; no when there is none, or no X11.
bool windowManagerSupports(const char* hint);

} // namespace rondelix::platform::linux_desktop
