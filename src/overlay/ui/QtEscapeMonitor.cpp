#include "overlay/ui/QtEscapeMonitor.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace rondelix {

QtEscapeMonitor::~QtEscapeMonitor() {
    if (!monitors_.empty() && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

EscapeMonitor::Token QtEscapeMonitor::add(std::function<void()> onEscape) {
    if (monitors_.empty() && QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
    monitors_[++lastToken_] = std::move(onEscape);
    return lastToken_;
}

void QtEscapeMonitor::remove(Token token) {
    if (monitors_.erase(token) && monitors_.empty() && QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool QtEscapeMonitor::eventFilter(QObject* watched, QEvent* event) {
    // A key press reaches the window object first and then the focused
    // widget; taking it at the widget swallows it before any widget acts.
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Escape) return false;
    const auto monitors = monitors_;
    for (const auto& [token, onEscape] : monitors)
        if (onEscape) onEscape();
    return true;
}

} // namespace rondelix
