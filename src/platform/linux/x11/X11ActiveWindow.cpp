// Kept apart from every Qt header: Xlib's macros clash with Qt's names.
#include "platform/linux/x11/X11ActiveWindow.h"

#include "platform/linux/x11/X11Display.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <iterator>
#include <optional>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {

namespace {

// One connection, opened when prepared or on first use, and again after it
// was lost; only the main thread asks. Through X11Display, so that a lost server or a window
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

// A property holding one 32-bit value of the given type, such as a window or
// a process id.
std::optional<unsigned long> singleValueProperty(Display* dpy, Window window, const char* name, Atom kind) {
    const Atom property = XInternAtom(dpy, name, True);
    if (property == None) return std::nullopt;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<unsigned long> value;
    if (XGetWindowProperty(dpy, window, property, 0, 1, False, kind, &type, &format, &count, &after, &data) ==
            Success &&
        data && count == 1 && format == 32)
        value = *reinterpret_cast<unsigned long*>(data);
    if (data) XFree(data);
    return value;
}

Window windowProperty(Display* dpy, Window window, const char* name) {
    return static_cast<Window>(singleValueProperty(dpy, window, name, XA_WINDOW).value_or(None));
}

// A window manager that follows the desktop's conventions names a window of
// its own on the root window, which names itself back. A manager that has
// quit leaves the root's properties behind, naming a window that is gone.
bool windowManagerRuns(Display* dpy) {
    const Window check = windowProperty(dpy, DefaultRootWindow(dpy), "_NET_SUPPORTING_WM_CHECK");
    return check != None && windowProperty(dpy, check, "_NET_SUPPORTING_WM_CHECK") == check;
}

Window activeWindow(Display* dpy) {
    return windowProperty(dpy, DefaultRootWindow(dpy), "_NET_ACTIVE_WINDOW");
}

bool hasClass(Display* dpy, Window window) {
    XClassHint hint{};
    if (!XGetClassHint(dpy, window, &hint)) return false;
    if (hint.res_name) XFree(hint.res_name);
    if (hint.res_class) XFree(hint.res_class);
    return true;
}

Window parentOf(Display* dpy, Window window) {
    Window root = None, parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(dpy, window, &root, &parent, &children, &count)) return None;
    if (children) XFree(children);
    return parent == root ? None : parent;
}

// The window itself or the nearest of its ancestors that names its
// application; a toolkit often focuses an inner window of its own.
Window namedAncestor(Display* dpy, Window window) {
    for (; window != None; window = parentOf(dpy, window))
        if (hasClass(dpy, window)) return window;
    return None;
}

bool isOurs(Display* dpy, Window window) {
    const auto process = singleValueProperty(dpy, window, "_NET_WM_PID", XA_CARDINAL);
    return process && static_cast<pid_t>(*process) == getpid();
}

// The topmost named window under the pointer other than our own (the wheel
// may not be gone from the screen yet when the question comes).
Window windowUnderPointer(Display* dpy) {
    const Window rootWindow = DefaultRootWindow(dpy);
    Window root = None, child = None;
    int x = 0, y = 0, winX = 0, winY = 0;
    unsigned int state = 0;
    if (!XQueryPointer(dpy, rootWindow, &root, &child, &x, &y, &winX, &winY, &state)) return None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(dpy, rootWindow, &root, &parent, &children, &count)) return None;
    Window found = None;
    // Bottom to top, as the server lists them.
    for (unsigned int i = count; i-- > 0 && found == None;) {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(dpy, children[i], &a) || a.map_state != IsViewable) continue;
        if (x < a.x || y < a.y || x >= a.x + a.width || y >= a.y + a.height) continue;
        if (hasClass(dpy, children[i]) && !isOurs(dpy, children[i])) found = children[i];
    }
    if (children) XFree(children);
    return found;
}

// Without a window manager nothing names the active window: the window with
// the keyboard focus is it, or the one under the pointer when the focus
// follows the pointer, as it does on a bare X server.
Window focusedWindow(Display* dpy) {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(dpy, &focus, &revert);
    if (focus == None || focus == PointerRoot || focus == DefaultRootWindow(dpy))
        return windowUnderPointer(dpy);
    return namedAncestor(dpy, focus);
}

// The properties the look-up reads. Xlib keeps each name it has learned, but
// asks again each time for one the server does not know yet, which is why
// they are all made known when the look-up is prepared.
constexpr const char* propertyNames[] = {"_NET_SUPPORTING_WM_CHECK", "_NET_ACTIVE_WINDOW", "_NET_WM_PID",
                                         "_GTK_APPLICATION_ID", "_KDE_NET_WM_DESKTOP_FILE"};

} // namespace

void prepareActiveWindowIdentity() {
    Display* dpy = display();
    if (!dpy) return;
    constexpr int count = std::size(propertyNames);
    Atom atoms[count] = {};
    XInternAtoms(dpy, const_cast<char**>(propertyNames), count, False, atoms);
    // And one look-up, for whatever else the library sets up on a display's
    // first requests.
    activeWindowIdentity();
}

std::optional<ActiveWindowIdentity> activeWindowIdentity() {
    Display* dpy = display();
    if (!dpy) return std::nullopt;
    std::optional<ActiveWindowIdentity> identity;
    const Window window = windowManagerRuns(dpy) ? activeWindow(dpy) : focusedWindow(dpy);
    if (window != None) {
        identity.emplace();
        identity->applicationId = stringProperty(dpy, window, "_GTK_APPLICATION_ID");
        identity->desktopFile = stringProperty(dpy, window, "_KDE_NET_WM_DESKTOP_FILE");
        if (const auto process = singleValueProperty(dpy, window, "_NET_WM_PID", XA_CARDINAL))
            identity->process = long(*process);
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
