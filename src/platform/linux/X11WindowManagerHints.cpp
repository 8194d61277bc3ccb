#include "platform/linux/X11WindowManagerHints.h"

#include <QGuiApplication>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>

namespace rondelix::platform::linux_desktop {

bool windowManagerSupports(const char* hint) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display()) return false;
    Display* display = x11->display();
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
    const Atom wanted = XInternAtom(display, hint, False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), supported, 0, 4096, False, XA_ATOM, &type,
                           &format, &count, &left, &data) != Success)
        return false;
    bool found = false;
    if (data && type == XA_ATOM && format == 32) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        found = std::find(atoms, atoms + count, wanted) != atoms + count;
    }
    if (data) XFree(data);
    return found;
}

} // namespace rondelix::platform::linux_desktop
