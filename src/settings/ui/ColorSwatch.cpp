#include "settings/ui/ColorSwatch.h"

#include "qtshared/QtColor.h"

#include <QPainter>
#include <QPainterPath>

namespace rondelix {

namespace {

constexpr QSize swatchSize(44, 24);
constexpr double radius = 6;
constexpr double ringGap = 2;
constexpr double ringWidth = 2;
constexpr int ringRoom = static_cast<int>(ringGap + ringWidth);

} // namespace

ColorSwatch::ColorSwatch(QWidget* parent) : QPushButton(parent) {
    setFixedSize(swatchSize + QSize(2 * ringRoom, 2 * ringRoom));
}

void ColorSwatch::setColor(const QColor& color) {
    color_ = color;
    setAccessibleDescription(color.name().toUpper());
    update();
}

void ColorSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF swatch =
        QRectF(rect()).adjusted(ringRoom + 0.5, ringRoom + 0.5, -ringRoom - 0.5, -ringRoom - 0.5);
    QPainterPath shape;
    shape.addRoundedRect(swatch, radius, radius);
    painter.fillPath(shape, isDown() ? color_.darker(115) : color_);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.drawPath(shape);
    if (hasFocus()) {
        const double out = ringGap + ringWidth / 2;
        painter.setPen(QPen(accentMark(palette()), ringWidth));
        painter.drawRoundedRect(swatch.adjusted(-out, -out, out, out), radius + out, radius + out);
    }
}

} // namespace rondelix
