#include "platform/linux/x11/X11BlurBehind.h"

#include "platform/linux/x11/X11WindowManagerHints.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QRegion>
#include <QWidget>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <optional>
#include <vector>

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

void requestBlurBehindRegion(QWidget& window, const QRegion& region) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display() || region.isEmpty()) return;
    Display* display = x11->display();
    const Atom property = XInternAtom(display, "_KDE_NET_WM_BLUR_BEHIND_REGION", False);
    // The property holds the region as x, y, width, height of each rectangle.
    std::vector<long> rects;
    for (const QRect& r : region)
        rects.insert(rects.end(), {r.x(), r.y(), r.width(), r.height()});
    XChangeProperty(display, static_cast<::Window>(window.winId()), property, XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(rects.data()),
                    static_cast<int>(rects.size()));
    XFlush(display);
}

namespace {

constexpr const char* blurProperty = "_KDE_NET_WM_BLUR_BEHIND_REGION";

// Whether the root window carries the property, of any type: KWin's blur
// effect puts it there while it is loaded, and lists it nowhere else.
bool rootCarries(const char* name) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display()) return false;
    Display* display = x11->display();
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    const bool read =
        XGetWindowProperty(display, DefaultRootWindow(display), XInternAtom(display, name, False), 0, 0,
                           False, AnyPropertyType, &type, &format, &count, &left, &data) == Success;
    if (data) XFree(data);
    return read && type != None;
}

// KWin answers from the thread that draws the screen: one that has not
// answered by then has frozen the desktop anyway.
constexpr int kwinPatienceMs = 500;

// Whether KWin says its blur effect is loaded; nothing where no KWin answers
// on the session bus. KWin leaves the root's property behind when the effect
// is switched off, so while it runs only its own word tells.
std::optional<bool> kwinBlurLoaded() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return std::nullopt;
    QDBusMessage call =
        QDBusMessage::createMethodCall("org.kde.KWin", "/Effects", "org.kde.kwin.Effects", "isEffectLoaded");
    call.setArguments({QStringLiteral("blur")});
    // Asking must never start a KWin where none runs.
    call.setAutoStartService(false);
    const QDBusMessage reply = bus.call(call, QDBus::Block, kwinPatienceMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1 ||
        reply.arguments().front().metaType() != QMetaType::fromType<bool>())
        return std::nullopt;
    return reply.arguments().front().toBool();
}

} // namespace

bool blurBehindOffered() {
    if (!windowManagerSupports(blurProperty) && !rootCarries(blurProperty)) return false;
    return kwinBlurLoaded().value_or(true);
}

} // namespace rondelix::platform::linux_desktop
