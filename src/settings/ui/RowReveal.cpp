#include "settings/ui/RowReveal.h"

#include <QGraphicsOpacityEffect>
#include <QLayout>
#include <QVariantAnimation>
#include <QWidget>

namespace rondelix {

RowReveal::RowReveal(QWidget& row)
    : QObject(&row), row_(row), motion_(new QVariantAnimation(this)), shown_(!row.isHidden()) {
    motion_->setDuration(durationMs);
    motion_->setEasingCurve(QEasingCurve::InOutQuad);
    connect(motion_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& open) { step(open.toDouble()); });
    connect(motion_, &QVariantAnimation::finished, this, [this] { settle(); });
}

bool RowReveal::isMoving() const {
    return motion_->state() == QAbstractAnimation::Running;
}

void RowReveal::setShown(bool shown, bool animated) {
    if (shown == shown_) return;
    shown_ = shown;
    if (isMoving()) {
        motion_->stop();
        settle();
    }
    if (!animated || !row_.parentWidget() || !row_.parentWidget()->isVisible()) {
        row_.setVisible(shown);
        return;
    }
    begin(shown);
}

void RowReveal::begin(bool shown) {
    // Lay the row out once at its full height, then move its children by hand.
    row_.show();
    QLayout* layout = row_.layout();
    fullHeight_ = layout ? layout->sizeHint().height() : row_.sizeHint().height();
    row_.setFixedHeight(fullHeight_);
    if (layout) layout->activate();
    laidOut_.clear();
    for (QObject* child : row_.children())
        if (auto* widget = qobject_cast<QWidget*>(child); widget && !widget->isWindow())
            laidOut_.emplace_back(widget, widget->geometry());
    if (layout) layout->setEnabled(false);
    fade_ = new QGraphicsOpacityEffect(&row_);
    row_.setGraphicsEffect(fade_);
    motion_->setStartValue(shown ? 0.0 : 1.0);
    motion_->setEndValue(shown ? 1.0 : 0.0);
    step(shown ? 0.0 : 1.0);
    motion_->start();
}

void RowReveal::step(double open) {
    const int height = static_cast<int>(std::lround(fullHeight_ * open));
    row_.setFixedHeight(height);
    for (const auto& [widget, place] : laidOut_)
        widget->setGeometry(place.translated(0, height - fullHeight_));
    if (fade_) fade_->setOpacity(open);
}

void RowReveal::settle() {
    row_.setGraphicsEffect(nullptr);
    fade_ = nullptr;
    laidOut_.clear();
    row_.setMinimumHeight(0);
    row_.setMaximumHeight(QWIDGETSIZE_MAX);
    if (QLayout* layout = row_.layout()) {
        layout->setEnabled(true);
        layout->activate();
    }
    row_.setVisible(shown_);
}

} // namespace rondelix
