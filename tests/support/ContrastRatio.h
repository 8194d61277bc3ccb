#pragma once

#include <QColor>
#include <algorithm>
#include <cmath>

namespace rondelix::testsupport {

// WCAG's relative luminance of an sRGB colour, and the contrast ratio of two.
inline double relativeLuminance(const QColor& c) {
    const auto channel = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

inline double contrastRatio(const QColor& a, const QColor& b) {
    const double x = relativeLuminance(a), y = relativeLuminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

} // namespace rondelix::testsupport
