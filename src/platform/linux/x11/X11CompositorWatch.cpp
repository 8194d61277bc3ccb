#include "platform/linux/x11/X11CompositorWatch.h"

#include "platform/linux/qt/QtScreens.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <string>
#include <xcb/xcb.h>

namespace rondelix::platform::linux_desktop {

X11CompositorWatch::X11CompositorWatch(std::function<void(bool running)> changed)
    : changed_(std::move(changed)), running_(QtScreens::compositorRunning()) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display()) return;
    Display* display = x11->display();
    int eventBase = 0, errorBase = 0;
    if (!XFixesQueryExtension(display, &eventBase, &errorBase)) return;
    const std::string selection = "_NET_WM_CM_S" + std::to_string(DefaultScreen(display));
    XFixesSelectSelectionInput(display, DefaultRootWindow(display),
                               XInternAtom(display, selection.c_str(), False),
                               XFixesSetSelectionOwnerNotifyMask | XFixesSelectionWindowDestroyNotifyMask |
                                   XFixesSelectionClientCloseNotifyMask);
    XFlush(display);
    notifyEvent_ = eventBase + XFixesSelectionNotify;
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11CompositorWatch::~X11CompositorWatch() {
    if (notifyEvent_ >= 0 && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool X11CompositorWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") return false;
    // The high bit marks events another client sent.
    if ((static_cast<const xcb_generic_event_t*>(message)->response_type & 0x7f) != notifyEvent_)
        return false;
    const bool running = QtScreens::compositorRunning();
    if (running == running_) return false;
    running_ = running;
    if (changed_) changed_(running);
    return false;
}

} // namespace rondelix::platform::linux_desktop
