#include "app/ui/QtAppWindows.h"

#include "app/ui/MainWindow.h"
#include "app/ui/SideWindow.h"

#include <QApplication>
#include <QScreen>
#include <algorithm>

namespace rondelix {

namespace {

// New windows open in the middle of the screen, as the desktop's own do; a
// session without a window manager would otherwise stack them all in the
// top-left corner. A window larger than the screen keeps its top-left corner
// (and so its title and menu) on screen.
void centreOnScreen(QWidget& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    QPoint topLeft = available.center() - QPoint(window.width() / 2, window.height() / 2);
    topLeft.setX(std::max(topLeft.x(), available.left()));
    topLeft.setY(std::max(topLeft.y(), available.top()));
    window.move(topLeft);
}

} // namespace

QtAppWindows::~QtAppWindows() {
    destroyAll();
}

void QtAppWindows::destroyAll() {
    delete main_;
    for (Kind kind : {Kind::onboarding, Kind::shortcutSetup, Kind::howItWorks})
        delete side(kind);
}

QWidget* QtAppWindows::window(Kind kind) const {
    switch (kind) {
    case Kind::main:
        return main_;
    case Kind::onboarding:
        return onboarding_;
    case Kind::shortcutSetup:
        return shortcutSetup_;
    case Kind::howItWorks:
        return howItWorks_;
    }
    return nullptr;
}

QPointer<SideWindow>& QtAppWindows::side(Kind kind) {
    if (kind == Kind::onboarding) return onboarding_;
    if (kind == Kind::shortcutSetup) return shortcutSetup_;
    return howItWorks_;
}

AppWindows::State QtAppWindows::state(Kind kind) const {
    const QWidget* w = window(kind);
    if (!w) return {};
    const bool minimized = w->isMinimized();
    return {true, w->isVisible() && !minimized, minimized, w->isActiveWindow()};
}

bool QtAppWindows::programIsActive() const {
    return QApplication::activeWindow() != nullptr;
}

void QtAppWindows::makeMain(MainTab) {
    main_ = new MainWindow(*coordinator_);
    centreOnScreen(*main_);
    main_->onUserClose = [this] {
        if (onMainWindowClosed) onMainWindowClosed();
    };
}

void QtAppWindows::openSide(Kind kind, const QString& title) {
    auto* w = new SideWindow(title);
    centreOnScreen(*w);
    side(kind) = w;
    w->onUserClose = [this, kind, w] {
        side(kind) = nullptr;
        w->deleteLater();
        if (kind == Kind::onboarding && onOnboardingClosedByUser) onOnboardingClosedByUser();
    };
    bringForward(kind);
}

void QtAppWindows::openOnboarding(OnboardingStep) {
    openSide(Kind::onboarding, "Welcome to Rondelix");
}

void QtAppWindows::openShortcutSetup(const std::optional<std::string>&) {
    openSide(Kind::shortcutSetup, "System Action Setup");
}

void QtAppWindows::openHowItWorks() {
    openSide(Kind::howItWorks, "How Rondelix Works");
}

void QtAppWindows::bringForward(Kind kind) {
    QWidget* w = window(kind);
    if (!w) return;
    if (w->isMinimized()) w->showNormal();
    w->show();
    w->raise();
    w->activateWindow();
}

void QtAppWindows::orderOut(Kind kind) {
    if (QWidget* w = window(kind)) w->hide();
}

void QtAppWindows::close(Kind kind) {
    if (kind == Kind::main) {
        orderOut(kind);
        return;
    }
    QPointer<SideWindow>& w = side(kind);
    if (!w) return;
    // The program's own close: no user-close notice.
    w->onUserClose = nullptr;
    w->hide();
    w->deleteLater();
    w = nullptr;
}

} // namespace rondelix
