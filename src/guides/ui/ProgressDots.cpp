#include "guides/ui/ProgressDots.h"

#include "qtshared/QtColor.h"

#include <QPainter>

namespace rondelix {

namespace {

constexpr int currentWidth = 22;
constexpr int dot = 7;
constexpr int gap = 8;

} // namespace

ProgressDots::ProgressDots(int count, QWidget* parent) : QWidget(parent), count_(count) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ProgressDots::setCurrent(int current, const QColor& accent) {
    current_ = current;
    accent_ = accent;
    update();
}

QSize ProgressDots::sizeHint() const {
    return {currentWidth + (count_ - 1) * (dot + gap), dot};
}

void ProgressDots::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    // The current step stands out from the window whatever the accent.
    const QColor current = visibleMark(fromQColor(accent_), palette().color(QPalette::Window));
    QColor faint = palette().color(QPalette::WindowText);
    faint.setAlphaF(0.25f);
    double x = (width() - sizeHint().width()) / 2.0;
    const double y = (height() - dot) / 2.0;
    for (int i = 0; i < count_; ++i) {
        const int w = i == current_ ? currentWidth : dot;
        painter.setBrush(i == current_ ? current : faint);
        painter.drawRoundedRect(QRectF(x, y, w, dot), dot / 2.0, dot / 2.0);
        x += w + gap;
    }
}

} // namespace rondelix
