#include "platform/linux/x11/X11FrameExtents.h"

#include "platform/linux/x11/X11Display.h"
#include "platform/linux/x11/X11WindowManagerHints.h"

#include <QGuiApplication>
#include <QMargins>
#include <QWidget>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <chrono>
#include <optional>
#include <thread>

namespace rondelix::platform::linux_desktop {

namespace {

// How long a window manager gets to answer; one that takes longer than a
// glance is not waited for, and the window opens as it would have anyway.
constexpr double answerSeconds = 0.25;

std::optional<QMargins> frameExtents(Display* display, ::Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 4, False, XA_CARDINAL, &type, &format, &count, &left,
                           &data) != Success)
        return std::nullopt;
    std::optional<QMargins> found;
    if (data && type == XA_CARDINAL && format == 32 && count == 4) {
        // Left, right, top, bottom; Xlib hands 32-bit items over as longs.
        const auto* sides = reinterpret_cast<const long*>(data);
        found = QMargins(static_cast<int>(sides[0]), static_cast<int>(sides[2]), static_cast<int>(sides[1]),
                         static_cast<int>(sides[3]));
    }
    if (data) XFree(data);
    return found;
}

} // namespace

QMargins expectedFrameExtents(QWidget& window) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display() || !windowManagerSupports("_NET_REQUEST_FRAME_EXTENTS")) return {};
    Display* display = x11->display();
    const Atom property = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    const auto id = static_cast<::Window>(window.winId());
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = id;
    request.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    request.xclient.format = 32;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &request);
    XFlush(display);
    // The answer is a property the window manager sets on the window.
    const double deadline = X11Display::monotonicSeconds() + answerSeconds;
    do {
        if (const auto extents = frameExtents(display, id, property)) return *extents;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (X11Display::monotonicSeconds() < deadline);
    return {};
}

} // namespace rondelix::platform::linux_desktop
