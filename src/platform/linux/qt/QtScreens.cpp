#include "platform/linux/qt/QtScreens.h"

#include "qtshared/DesktopCoordinates.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <X11/Xlib.h>
#include <string>

namespace rondelix::platform::linux_desktop {

using Coordinates = DesktopCoordinates;

QtScreens::QtScreens(Log& log, const DesktopAppearance* appearance) : log_(log), appearance_(appearance) {}

std::vector<Screen> QtScreens::screens() const {
    std::vector<Screen> result;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary)
        result.push_back({Coordinates::fromQt(primary->geometry()),
                          Coordinates::fromQt(primary->availableGeometry()), primary->devicePixelRatio()});
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary)
            result.push_back({Coordinates::fromQt(screen->geometry()),
                              Coordinates::fromQt(screen->availableGeometry()), screen->devicePixelRatio()});
    return result;
}

std::optional<Screen> QtScreens::mainScreen() const {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary) return std::nullopt;
    return Screen{Coordinates::fromQt(primary->geometry()), Coordinates::fromQt(primary->availableGeometry()),
                  primary->devicePixelRatio()};
}

Point QtScreens::pointerLocation() const {
    return Coordinates::fromQt(QCursor::pos());
}

void QtScreens::warpPointer(Point to) {
    QCursor::setPos(Coordinates::toQt(to));
}

DisplayOptions QtScreens::displayOptions() const {
    DisplayOptions options;
    const bool compositor = compositorRunning();
    if (!compositor && !loggedNoCompositor_) {
        loggedNoCompositor_ = true;
        log_.write("no compositor is running; the wheel is drawn opaque.");
    }
    const AppearanceSettings desktop = appearance_ ? appearance_->settings() : AppearanceSettings{};
    options.compositor = compositor;
    options.reduceTransparency = !compositor || desktop.highContrast;
    options.increaseContrast = desktop.highContrast;
    options.reduceMotion = desktop.reduceMotion;
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
