#pragma once

#include "model/Color.h"

#include <QColor>
#include <QString>
#include <algorithm>

namespace rondelix {

// The colour as Qt paints it, at the given opacity from 0 to 1.
inline QColor toQColor(const Color& color, double opacity = 1.0) {
    return QColor::fromRgbF(static_cast<float>(color.red), static_cast<float>(color.green),
                            static_cast<float>(color.blue),
                            static_cast<float>(std::clamp(opacity, 0.0, 1.0)));
}

// A style sheet that sets the text colour.
inline QString textColorStyle(const Color& color) {
    return QStringLiteral("color: %1;").arg(toQColor(color).name());
}

} // namespace rondelix
