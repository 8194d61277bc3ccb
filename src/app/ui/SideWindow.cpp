#include "app/ui/SideWindow.h"

#include <QCloseEvent>

namespace rondelix {

SideWindow::SideWindow(const QString& title) {
    setWindowTitle(title);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(560, 640);
}

void SideWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted() && onUserClose) onUserClose();
}

} // namespace rondelix
