#include "app/ui/SideWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWindow>

namespace rondelix {

SideWindow::SideWindow(const QString& title, GlassBackdrop::Environment backdrop)
    : backdrop_(*this, std::move(backdrop)) {
    setWindowTitle(title);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(contentWidth, contentHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* closeWindow = new QAction(this);
    closeWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(closeWindow, &QAction::triggered, this, &QWidget::close);
    addAction(closeWindow);
}

void SideWindow::setContent(QWidget* content) {
    if (content_) content_->deleteLater();
    content_ = content;
    if (content_) layout()->addWidget(content_);
}

void SideWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted() && onUserClose) onUserClose();
}

void SideWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    backdrop_.paint(painter);
}

void SideWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    backdrop_.windowShown();
}

// The window has no resize border to grab, so its background moves it, as
// the window manager's title bar would.
void SideWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && windowHandle() && windowHandle()->startSystemMove()) {
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

// Esc reaches the window only when the focused control has no use for it.
void SideWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace rondelix
