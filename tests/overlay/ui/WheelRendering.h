#pragma once

#include "overlay/WheelGeometry.h"
#include "overlay/ui/WheelGraphic.h"

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QString>
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

// Saves a rendering for people to look at, in the artifacts folder beside
// the test program. A dark wheel is shown over a dark backdrop, as it would
// be seen, since its white strokes vanish on the viewer's usual white.
inline bool saveArtifact(const QImage& image, const QString& name, bool overDark = false) {
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/artifacts");
    QDir().mkpath(folder);
    QImage shown = image;
    if (overDark) {
        shown = QImage(image.size(), QImage::Format_ARGB32);
        shown.fill(QColor(30, 30, 32));
        QPainter painter(&shown);
        painter.drawImage(0, 0, image);
    }
    return shown.save(folder + QLatin1Char('/') + name);
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
