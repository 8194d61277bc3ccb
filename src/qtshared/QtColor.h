#pragma once

#include "model/Color.h"

#include <QColor>
#include <QPalette>
#include <QString>
#include <algorithm>

namespace rondelix {

// The colour as Qt paints it, at the given opacity from 0 to 1.
inline QColor toQColor(const Color& color, double opacity = 1.0) {
    return QColor::fromRgbF(static_cast<float>(color.red), static_cast<float>(color.green),
                            static_cast<float>(color.blue),
                            static_cast<float>(std::clamp(opacity, 0.0, 1.0)));
}

inline Color fromQColor(const QColor& color) {
    return {color.redF(), color.greenF(), color.blueF()};
}

// The colour for text on the background: darkened or lightened as far as
// it takes to read (see readableOn).
inline QColor readableText(const Color& color, const QColor& background) {
    return toQColor(readableOn(color, fromQColor(background)));
}

// The colour for a mark that is not text (a symbol, a ring, an edge) on the
// background: darkened or lightened as far as it takes to stand out at 3:1,
// as WCAG asks of such marks. A light accent on a light window needs it.
inline QColor visibleMark(const Color& color, const QColor& background) {
    return toQColor(readableOn(color, fromQColor(background), 3.0));
}

// The palette's accent as such a mark on its window colour.
inline QColor accentMark(const QPalette& palette) {
    return visibleMark(fromQColor(palette.color(QPalette::Highlight)), palette.color(QPalette::Window));
}

// A fill in the accent with text on it: the text near black or white,
// whichever suits the accent, and the accent deepened (or lightened) just as
// far as it takes for the text to read on it.
struct AccentFill {
    QColor fill;
    QColor text;
};

inline AccentFill accentFill(const Color& accent) {
    const Color text = contrastingForeground(accent);
    return {toQColor(readableOn(accent, text)), toQColor(text)};
}

// A style sheet that sets the text colour, readable on the background.
inline QString textColorStyle(const Color& color, const QColor& background) {
    return QStringLiteral("color: %1;").arg(readableText(color, background).name());
}

} // namespace rondelix
