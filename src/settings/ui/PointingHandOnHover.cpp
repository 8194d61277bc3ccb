#include "settings/ui/PointingHandOnHover.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

namespace rondelix {

PointingHandOnHover::PointingHandOnHover(QWidget* widget) : QObject(widget) {
    widget->installEventFilter(this);
}

PointingHandOnHover::~PointingHandOnHover() {
    pop();
}

bool PointingHandOnHover::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Enter:
        if (!pushed_) {
            QGuiApplication::setOverrideCursor(Qt::PointingHandCursor);
            pushed_ = true;
        }
        break;
    case QEvent::Leave:
    case QEvent::Hide:
        pop();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void PointingHandOnHover::pop() {
    if (!pushed_) return;
    QGuiApplication::restoreOverrideCursor();
    pushed_ = false;
}

} // namespace rondelix
