#include "app/ui/FocusReturn.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace rondelix {

namespace {

// The program's own showing of one of its windows; a popup menu and the
// children of a window are none.
QWidget* ownWindow(QObject* watched, QEvent* event) {
    if (event->spontaneous() || !watched->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(watched);
    return widget->isWindow() && widget->windowType() != Qt::Popup ? widget : nullptr;
}

} // namespace

FocusReturn::FocusReturn(std::function<QWidget*()> mainWindow) : mainWindow_(std::move(mainWindow)) {
    qApp->installEventFilter(this);
}

FocusReturn::~FocusReturn() {
    qApp->removeEventFilter(this);
}

QWidget* FocusReturn::owner(QWidget& closing) {
    if (closing.parentWidget()) return closing.parentWidget()->window();
    const auto openedFrom = openedFrom_.find(&closing);
    if (openedFrom != openedFrom_.end() && openedFrom->second && openedFrom->second->isVisible())
        return openedFrom->second;
    return mainWindow_();
}

bool FocusReturn::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        if (QWidget* opening = ownWindow(watched, event); opening && QApplication::activeWindow() != opening)
            openedFrom_[opening] = QApplication::activeWindow();
    } else if (event->type() == QEvent::Hide) {
        openedFrom_.erase(watched);
    } else if (event->type() == QEvent::WindowDeactivate && watched->isWidgetType()) {
        // A window that loses the keys because it is being hidden hands them
        // on; one the user left for another keeps out of it.
        auto* closing = static_cast<QWidget*>(watched);
        if (closing->isWindow() && closing->windowType() != Qt::Popup &&
            closing->testAttribute(Qt::WA_WState_Hidden))
            handBack(owner(*closing), closing);
    }
    return false;
}

void FocusReturn::handBack(QWidget* next, const QWidget* closing) {
    if (!next || next == closing) return;
    // Once the window is gone from the screen; a window the window manager
    // has made active meanwhile keeps it.
    QTimer::singleShot(0, next, [next = QPointer<QWidget>(next)] {
        const QWidget* active = QApplication::activeWindow();
        if (next && next->isVisible() && !next->isMinimized() && (!active || !active->isVisible()))
            next->activateWindow();
    });
}

} // namespace rondelix
