#pragma once

#include "qtshared/QtColor.h"

#include <QColor>
#include <algorithm>

namespace rondelix {

enum class ColorScheme { light, dark };

inline QColor withOpacity(QColor color, double opacity) {
    color.setAlphaF(static_cast<float>(std::clamp(color.alphaF() * opacity, 0.0, 1.0)));
    return color;
}

// The appearance's foreground colours and translucent materials.
struct WheelPalette {
    bool dark = false;
    QColor primary;
    QColor secondary;
    // Fills standing in for the desktop's thin and regular blurred materials.
    QColor ultraThinMaterial;
    QColor regularMaterial;

    static WheelPalette forScheme(ColorScheme scheme) {
        if (scheme == ColorScheme::dark)
            return {true, QColor(255, 255, 255), QColor(235, 235, 245, 153), QColor(40, 40, 44, 120),
                    QColor(48, 48, 52, 220)};
        return {false, QColor(0, 0, 0), QColor(60, 60, 67, 153), QColor(250, 250, 252, 130),
                QColor(246, 246, 248, 225)};
    }
};

} // namespace rondelix
