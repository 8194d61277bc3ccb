#include "overlay/ui/DragHandleView.h"

#include "model/SystemColors.h"
#include "qtshared/QtColor.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace rondelix {

namespace {

constexpr char stopTitle[] = "Stop Test Appearance";

// The red "x in a filled circle" mark of the close button.
QIcon closeMark() {
    QPixmap pixmap(30, 30);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(toQColor(SystemColors::red));
    painter.drawEllipse(QRectF(1, 1, 28, 28));
    painter.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10, 10), QPointF(20, 20));
    painter.drawLine(QPointF(20, 10), QPointF(10, 20));
    return QIcon(pixmap);
}

} // namespace

DragHandleView::DragHandleView(QWidget* parent) : QWidget(parent), closeButton_(new QToolButton(this)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::OpenHandCursor);
    closeButton_->setAutoRaise(true);
    closeButton_->setIcon(closeMark());
    closeButton_->setIconSize(QSize(15, 15));
    closeButton_->setToolTip(stopTitle);
    closeButton_->setAccessibleName(stopTitle);
    closeButton_->setStyleSheet("QToolButton { border: none; padding: 0; background: transparent; }");
    closeButton_->setCursor(Qt::ArrowCursor);
    closeButton_->setGeometry(6, (26 - 15) / 2, 15, 15);
    connect(closeButton_, &QToolButton::clicked, this, &DragHandleView::closeTapped);
}

void DragHandleView::closeTapped() {
    if (onClose) onClose();
}

void DragHandleView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor fill = palette().color(QPalette::Window);
    fill.setAlphaF(0.85f);
    painter.setBrush(fill);
    painter.setPen(QPen(QColor(255, 255, 255, 89), 1));
    painter.drawRoundedRect(box, 13, 13);
}

void DragHandleView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragOffset_ = event->globalPosition().toPoint() - window()->pos();
    setCursor(Qt::ClosedHandCursor);
}

void DragHandleView::mouseMoveEvent(QMouseEvent* event) {
    // The panel bypasses the window manager, so it moves itself.
    if (dragOffset_) window()->move(event->globalPosition().toPoint() - *dragOffset_);
}

void DragHandleView::mouseReleaseEvent(QMouseEvent*) {
    dragOffset_.reset();
    setCursor(Qt::OpenHandCursor);
}

} // namespace rondelix
