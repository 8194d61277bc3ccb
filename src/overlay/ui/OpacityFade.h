#pragma once

#include <QEasingCurve>

class QPropertyAnimation;
class QWidget;

namespace rondelix {

// An animation of the widget's opacity from one value to another, not yet
// started; it belongs to the widget and goes with it.
QPropertyAnimation* opacityFade(QWidget& widget, double from, double to, int durationMs,
                                QEasingCurve::Type curve);

} // namespace rondelix
