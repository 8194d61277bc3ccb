#include "overlay/ui/OpacityFade.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QWidget>

namespace rondelix {

QPropertyAnimation* opacityFade(QWidget& widget, double from, double to, int durationMs,
                                QEasingCurve::Type curve) {
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
