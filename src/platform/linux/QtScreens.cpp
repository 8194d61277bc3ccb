#include "platform/linux/QtScreens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <X11/Xlib.h>
#include <cmath>
#include <string>

namespace rondelix::platform::linux_desktop {

namespace {

// The primary screen's geometry anchors both coordinate systems; with no
// screen the two coincide.
QRect primaryGeometry() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry() : QRect();
}

} // namespace

QtScreens::QtScreens(Log& log) : log_(log) {}

Rect QtScreens::fromQt(const QRect& rect) {
    const QRect primary = primaryGeometry();
    const double bottom = primary.isNull() ? 0 : primary.y() + primary.height();
    return {static_cast<double>(rect.x() - primary.x()), bottom - (rect.y() + rect.height()),
            static_cast<double>(rect.width()), static_cast<double>(rect.height())};
}

QRect QtScreens::toQt(const Rect& rect) {
    const QRect primary = primaryGeometry();
    const double bottom = primary.isNull() ? 0 : primary.y() + primary.height();
    return QRect(static_cast<int>(std::lround(rect.x + primary.x())),
                 static_cast<int>(std::lround(bottom - rect.y - rect.height)),
                 static_cast<int>(std::lround(rect.width)), static_cast<int>(std::lround(rect.height)));
}

Point QtScreens::fromQt(const QPoint& point) {
    const QRect primary = primaryGeometry();
    const double bottom = primary.isNull() ? 0 : primary.y() + primary.height();
    return {static_cast<double>(point.x() - primary.x()), bottom - point.y()};
}

QPoint QtScreens::toQt(Point point) {
    const QRect primary = primaryGeometry();
    const double bottom = primary.isNull() ? 0 : primary.y() + primary.height();
    return QPoint(static_cast<int>(std::lround(point.x + primary.x())),
                  static_cast<int>(std::lround(bottom - point.y)));
}

std::vector<Screen> QtScreens::screens() const {
    std::vector<Screen> result;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary) result.push_back({fromQt(primary->geometry()), fromQt(primary->availableGeometry())});
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary)
            result.push_back({fromQt(screen->geometry()), fromQt(screen->availableGeometry())});
    return result;
}

std::optional<Screen> QtScreens::mainScreen() const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return std::nullopt;
    return Screen{fromQt(primary->geometry()), fromQt(primary->availableGeometry())};
}

Point QtScreens::pointerLocation() const {
    return fromQt(QCursor::pos());
}

void QtScreens::warpPointer(Point to) {
    QCursor::setPos(toQt(to));
}

DisplayOptions QtScreens::displayOptions() const {
    DisplayOptions options;
    options.reduceTransparency = !compositorRunning();
    if (options.reduceTransparency && !loggedNoCompositor_) {
        loggedNoCompositor_ = true;
        log_.write("no compositor is running; the wheel is drawn opaque.");
    }
    return options;
}

bool QtScreens::compositorRunning() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    // Wayland and the offscreen platform always composite.
    if (!x11 || !x11->display()) return true;
    Display* display = x11->display();
    const std::string selection = "_NET_WM_CM_S" + std::to_string(DefaultScreen(display));
    const Atom atom = XInternAtom(display, selection.c_str(), False);
    return XGetSelectionOwner(display, atom) != None;
}

} // namespace rondelix::platform::linux_desktop
