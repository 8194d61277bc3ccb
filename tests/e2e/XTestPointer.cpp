#include "XTestPointer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace rondelix::e2e {

bool xtestMovePointer(int x, int y) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    int event = 0, error = 0, major = 0, minor = 0;
    const bool moved = XTestQueryExtension(display, &event, &error, &major, &minor) &&
                       XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
    XCloseDisplay(display);
    return moved;
}

} // namespace rondelix::e2e
