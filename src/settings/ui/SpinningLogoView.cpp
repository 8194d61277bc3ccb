#include "settings/ui/SpinningLogoView.h"

#include "overlay/ui/ProgramMark.h"
#include "qtshared/QtColor.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace rondelix {

namespace {

constexpr int side = 96;
constexpr int frameMs = 16;

} // namespace

SpinningLogoView::SpinningLogoView(platform::MainQueue& queue, QWidget* parent)
    : QWidget(parent), motion_(queue), frames_(new QTimer(this)) {
    setObjectName("spinningLogo");
    setFixedSize(side, side);
    setToolTip("Give it a spin");
    setCursor(Qt::PointingHandCursor);
    frames_->setInterval(frameMs);
    connect(frames_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    motion_.onStop = [this] {
        frames_->stop();
        update();
    };
}

void SpinningLogoView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(side / 2.0, side / 2.0);
    painter.rotate(motion_.angle());
    painter.translate(-side / 2.0, -side / 2.0);
    paintProgramMark(painter, QRectF(4, 4, side - 8, side - 8), accentMark(palette()));
}

void SpinningLogoView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    motion_.spin();
    frames_->start();
}

} // namespace rondelix
