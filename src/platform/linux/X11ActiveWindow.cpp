// Kept apart from every Qt header: Xlib's macros clash with Qt's names.
#include "platform/linux/X11ActiveWindow.h"

#include "platform/linux/X11Display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace rondelix::platform::linux_desktop {

namespace {

// One connection, opened on first use and again after it was lost; only the
// main thread asks. Through X11Display, so that a lost server or a window
// that vanished between two questions never ends the program.
Display* display() {
    static std::atomic<bool> lost{false};
    static Display* connection = nullptr;
    if (connection && lost) {
        X11Display::close(connection, true);
        connection = nullptr;
        lost = false;
    }
    if (!connection) connection = X11Display::open({}, &lost);
    return connection;
}

std::string stringProperty(Display* dpy, Window window, const char* name) {
    const Atom property = XInternAtom(dpy, name, True);
    if (property == None) return {};
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string value;
    if (XGetWindowProperty(dpy, window, property, 0, 1024, False, AnyPropertyType, &type, &format, &count,
                           &after, &data) == Success &&
        data && format == 8)
        value.assign(reinterpret_cast<const char*>(data), count);
    if (data) XFree(data);
    return value;
}

Window activeWindow(Display* dpy) {
    const Atom property = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", True);
    if (property == None) return None;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window window = None;
    if (XGetWindowProperty(dpy, DefaultRootWindow(dpy), property, 0, 1, False, XA_WINDOW, &type, &format,
                           &count, &after, &data) == Success &&
        data && count == 1 && format == 32)
        window = static_cast<Window>(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    return window;
}

} // namespace

std::optional<ActiveWindowIdentity> activeWindowIdentity() {
    Display* dpy = display();
    if (!dpy) return std::nullopt;
    std::optional<ActiveWindowIdentity> identity;
    if (const Window window = activeWindow(dpy); window != None) {
        identity.emplace();
        identity->applicationId = stringProperty(dpy, window, "_GTK_APPLICATION_ID");
        identity->desktopFile = stringProperty(dpy, window, "_KDE_NET_WM_DESKTOP_FILE");
        XClassHint hint{};
        if (XGetClassHint(dpy, window, &hint)) {
            if (hint.res_name) identity->wmClassInstance = hint.res_name;
            if (hint.res_class) identity->wmClass = hint.res_class;
            if (hint.res_name) XFree(hint.res_name);
            if (hint.res_class) XFree(hint.res_class);
        }
    }
    return identity;
}

} // namespace rondelix::platform::linux_desktop
