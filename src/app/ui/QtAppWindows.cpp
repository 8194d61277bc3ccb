#include "app/ui/QtAppWindows.h"

#include "app/AppCoordinator.h"
#include "app/ui/MainWindow.h"
#include "app/ui/SidePages.h"
#include "app/ui/SideWindow.h"

#include <QApplication>
#include <QScreen>
#include <algorithm>

namespace rondelix {

namespace {

// New windows open in the middle of the screen, as the desktop's own do; a
// session without a window manager would otherwise stack them all in the
// top-left corner. A window larger than the screen keeps its top-left corner
// (and so its title and menu) on screen. It is placed by its frame: the
// `frame` expected around it when known, else whatever frame the window
// manager draws.
void centreOnScreen(QWidget& window, QMargins frame = {}) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect available = screen->availableGeometry();
    const QSize framed = window.size().grownBy(frame);
    QPoint topLeft = available.center() - QPoint(framed.width() / 2, framed.height() / 2);
    topLeft.setX(std::max(topLeft.x(), available.left()));
    topLeft.setY(std::max(topLeft.y(), available.top()));
    if (frame.isNull())
        window.move(topLeft);
    else
        window.setGeometry(QRect(topLeft + QPoint(frame.left(), frame.top()), window.size()));
}

} // namespace

QtAppWindows::QtAppWindows(GlassBackdrop::Environment backdrop, FrameEstimate frame)
    : backdrop_(std::move(backdrop)), frame_(std::move(frame)),
      focusReturn_([this]() -> QWidget* { return mainWidget_; }) {}

QtAppWindows::~QtAppWindows() {
    destroyAll();
}

void QtAppWindows::attach(AppCoordinator& coordinator, SliceIconSources& icons) {
    context_.emplace(PageContext{coordinator, icons});
    configConnection_ = coordinator.configStore().configChanged.connectScoped([this] { applyGlass(); });
}

void QtAppWindows::destroyAll() {
    configConnection_.reset();
    context_.reset();
    delete main_;
    for (auto& [kind, side] : sides_)
        delete side;
    sides_.clear();
    for (QPointer<SideWindow>& side : closing_)
        delete side;
    closing_.clear();
}

void QtAppWindows::retire(SideWindow* w) {
    std::erase_if(closing_, [](const QPointer<SideWindow>& side) { return side.isNull(); });
    closing_.emplace_back(w);
    w->deleteLater();
}

bool QtAppWindows::glassEnabled() const {
    return context_ && !highContrast_ &&
           context_->coordinator.configStore().config().behavior.liquidGlassEnabled;
}

void QtAppWindows::applyGlass() {
    const bool glass = glassEnabled();
    if (main_) main_->backdrop().setGlass(glass);
    for (auto& [kind, side] : sides_)
        if (side) side->backdrop().setGlass(glass);
}

void QtAppWindows::setCompositor(bool running) {
    backdrop_.compositor = running;
    if (main_) main_->backdrop().setCompositor(running);
    for (auto& [kind, side] : sides_)
        if (side) side->backdrop().setCompositor(running);
}

void QtAppWindows::blurOfferChanged() {
    if (main_) main_->backdrop().blurOfferChanged();
    for (auto& [kind, side] : sides_)
        if (side) side->backdrop().blurOfferChanged();
}

void QtAppWindows::setHighContrast(bool on) {
    highContrast_ = on;
    applyGlass();
}

QWidget* QtAppWindows::window(Kind kind) const {
    if (kind == Kind::main) return main_;
    return sideWindow(kind);
}

SideWindow* QtAppWindows::sideWindow(Kind kind) const {
    const auto side = sides_.find(kind);
    return side == sides_.end() ? nullptr : side->second.data();
}

AppWindows::State QtAppWindows::state(Kind kind) const {
    const QWidget* w = window(kind);
    if (!w) return {};
    const bool minimized = w->isMinimized();
    return {true, w->isVisible() && !minimized, minimized, w->isActiveWindow(), w->isFullScreen()};
}

bool QtAppWindows::programIsActive() const {
    return QApplication::activeWindow() != nullptr;
}

void QtAppWindows::makeMain(ContentSize size, ContentSize minimum) {
    main_ = new MainWindow(*context_, backdrop_);
    mainWidget_ = main_;
    main_->backdrop().setGlass(glassEnabled());
    main_->showKeepsRunningNote(!trayShown_);
    // Fitted with the frame it will get, so that the whole of it opens on screen.
    const QMargins frame = frame_ ? frame_(*main_) : QMargins();
    main_->setExpectedFrame(frame);
    main_->fitContent(size, minimum, false);
    centreOnScreen(*main_, frame);
    main_->onUserClose = [this] {
        if (onMainWindowClosed) onMainWindowClosed();
    };
    main_->onUserResize = [this](ContentSize size) {
        if (onMainWindowResized) onMainWindowResized(size);
    };
}

void QtAppWindows::setTrayShown(bool shown) {
    trayShown_ = shown;
    if (main_) main_->showKeepsRunningNote(!shown);
}

void QtAppWindows::fitMain(ContentSize size, ContentSize minimum, bool animated) {
    if (main_) main_->fitContent(size, minimum, animated);
}

void QtAppWindows::openSide(Kind kind, const SideRequest& request) {
    const SidePage page = sidePage(kind);
    auto* w = new SideWindow(page.title, backdrop_);
    w->backdrop().setGlass(glassEnabled());
    if (page.content) w->setContent(page.content(*context_, request, w));
    centreOnScreen(*w);
    sides_[kind] = w;
    w->onUserClose = [this, kind, w] {
        sides_.erase(kind);
        retire(w);
        if (onSideWindowClosed) onSideWindowClosed(kind, true);
    };
    bringForward(kind);
}

void QtAppWindows::bringForward(Kind kind) {
    QWidget* w = window(kind);
    if (!w) return;
    if (kind == Kind::main) MainWindow::installEditMenuIfNeeded(main_->menuBar());
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
    SideWindow* w = sideWindow(kind);
    sides_.erase(kind);
    if (!w) return;
    // The program's own close: no user-close notice.
    w->onUserClose = nullptr;
    w->hide();
    retire(w);
    if (onSideWindowClosed) onSideWindowClosed(kind, false);
}

} // namespace rondelix
