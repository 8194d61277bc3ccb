#include "platform/linux/X11BlurBehind.h"

#include <QGuiApplication>
#include <QWidget>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace rondelix::platform::linux_desktop {

void requestBlurBehind(QWidget& window, bool blur) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display()) return;
    Display* display = x11->display();
    const Atom property = XInternAtom(display, "_KDE_NET_WM_BLUR_BEHIND_REGION", False);
    const auto id = static_cast<::Window>(window.winId());
    // An empty region means the whole window.
    if (blur)
        XChangeProperty(display, id, property, XA_CARDINAL, 32, PropModeReplace, nullptr, 0);
    else
        XDeleteProperty(display, id, property);
    XFlush(display);
}

} // namespace rondelix::platform::linux_desktop
