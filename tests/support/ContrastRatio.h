#pragma once

#include "model/Color.h"
#include "qtshared/QtColor.h"

#include <QColor>

namespace rondelix::testsupport {

inline double relativeLuminance(const QColor& c) {
    return rondelix::relativeLuminance(fromQColor(c));
}

// WCAG's contrast ratio of two colours as Qt paints them.
inline double contrastRatio(const QColor& a, const QColor& b) {
    return rondelix::contrastRatio(fromQColor(a), fromQColor(b));
}

} // namespace rondelix::testsupport
