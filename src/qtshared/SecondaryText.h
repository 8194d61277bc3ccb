#pragma once

#include <QPalette>
#include <QString>
#include <QWidget>

namespace rondelix {

// A style sheet's colour for secondary text, written out: the style sheets'
// placeholder-text role came out in the text colour in the running program.
inline QString secondaryTextStyle(const QWidget& widget) {
    const QColor colour = widget.palette().color(QPalette::PlaceholderText);
    return QStringLiteral("color: rgba(%1, %2, %3, %4);")
        .arg(colour.red())
        .arg(colour.green())
        .arg(colour.blue())
        .arg(colour.alpha());
}

} // namespace rondelix
