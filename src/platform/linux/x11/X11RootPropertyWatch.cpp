#include "platform/linux/x11/X11RootPropertyWatch.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <X11/Xlib.h>
#include <algorithm>
#include <xcb/xcb.h>

namespace rondelix::platform::linux_desktop {

X11RootPropertyWatch::X11RootPropertyWatch(const std::vector<const char*>& names,
                                           std::function<void()> changed)
    : changed_(std::move(changed)) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display()) return;
    Display* display = x11->display();
    root_ = DefaultRootWindow(display);
    for (const char* name : names)
        atoms_.push_back(XInternAtom(display, name, False));
    // The toolkit listens on the root window too, on the same connection:
    // its events are kept.
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, root_, &attributes)) return;
    XSelectInput(display, root_, attributes.your_event_mask | PropertyChangeMask);
    XFlush(display);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11RootPropertyWatch::~X11RootPropertyWatch() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool X11RootPropertyWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The high bit marks events another client sent.
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY) return false;
    const auto* notice = reinterpret_cast<const xcb_property_notify_event_t*>(event);
    if (notice->window == root_ && std::find(atoms_.begin(), atoms_.end(), notice->atom) != atoms_.end() &&
        changed_)
        changed_();
    return false;
}

} // namespace rondelix::platform::linux_desktop
