#include "platform/linux/x11/X11WindowManagerHints.h"

#include <QGuiApplication>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <algorithm>

namespace rondelix::platform::linux_desktop {

namespace {

::Window windowNamedBy(Display* display, ::Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    ::Window named = None;
    if (XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type, &format, &count, &left,
                           &data) == Success &&
        data && type == XA_WINDOW && format == 32 && count == 1)
        named = static_cast<::Window>(*reinterpret_cast<const unsigned long*>(data));
    if (data) XFree(data);
    return named;
}

int ignoreError(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

bool windowManagerRuns() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display()) return false;
    Display* display = x11->display();
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const ::Window named = windowNamedBy(display, DefaultRootWindow(display), check);
    if (named == None) return false;
    // The named window may be gone: asking it is then an error, not a reason
    // to stop the program.
    XSync(display, False);
    const auto previous = XSetErrorHandler(ignoreError);
    const bool answers = windowNamedBy(display, named, check) == named;
    XSync(display, False);
    XSetErrorHandler(previous);
    return answers;
}

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
