#pragma once

#include <QEasingCurve>
#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QWidget>

namespace rondelix {

// An animation of the widget's opacity from one value to another, not yet
// started; it belongs to the widget and goes with it.
inline QPropertyAnimation* opacityFade(QWidget& widget, double from, double to, int durationMs,
                                       const QEasingCurve& curve) {
    auto* effect = new QGraphicsOpacityEffect(&widget);
    effect->setOpacity(from);
    widget.setGraphicsEffect(effect);
    auto* animation = new QPropertyAnimation(effect, "opacity", &widget);
    animation->setDuration(durationMs);
    animation->setStartValue(from);
    animation->setEndValue(to);
    animation->setEasingCurve(curve);
    return animation;
}

} // namespace rondelix
