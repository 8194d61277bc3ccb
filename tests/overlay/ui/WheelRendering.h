#pragma once

#include "overlay/WheelGeometry.h"
#include "overlay/ui/WheelGraphic.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <cmath>

namespace rondelix::testing {

// The wheel as it looks now, on a transparent square of the given side.
inline QImage render(WheelGraphic& graphic, int side) {
    graphic.resize(side, side);
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    graphic.paint(painter);
    painter.end();
    return image;
}

// The pixel on slot `position`'s sector at `radius`, a quarter step
// clockwise of its centre angle, clear of its icon and label.
inline QColor slotPixel(const QImage& image, int position, int count, double radius) {
    const double side = image.width();
    const double angle = slotAngle(position, count) + M_PI / (2 * count);
    return image.pixelColor(qRound(side / 2 + radius * std::cos(angle)),
                            qRound(side / 2 + radius * std::sin(angle)));
}

inline Slice makeSlice(int position, std::string label, Icon icon,
                       MacroAction action = MacroAction::Text{"x"}) {
    Slice slice;
    slice.id = Uuid::generate();
    slice.position = position;
    slice.label = std::move(label);
    slice.icon = std::move(icon);
    slice.action = std::move(action);
    return slice;
}

} // namespace rondelix::testing
