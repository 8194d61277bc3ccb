#pragma once

namespace rondelix::platform::linux_desktop {

// Whether the running window manager (or compositor) lists the hint among
// those it supports; no when there is none, or no X11.
bool windowManagerSupports(const char* hint);

// Whether a window manager runs on the program's display, by the window it
// names on the root window naming itself back (a manager that quit leaves
// the root's property behind, naming a window that is gone); no without X11.
bool windowManagerRuns();

} // namespace rondelix::platform::linux_desktop
