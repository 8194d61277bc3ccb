#include "overlay/ui/MaterialCard.h"

#include "overlay/ui/WheelPalette.h"
#include "qtshared/SoftShadow.h"

#include <QPainter>
#include <QPainterPath>

namespace rondelix {

MaterialCard::MaterialCard(Look look, QWidget* parent) : QWidget(parent), look_(look) {
    setContentsMargins(look.shadowRadius, look.shadowRadius, look.shadowRadius, look.shadowRadius);
}

const QImage& MaterialCard::shadow() {
    if (shadow_.size() == size()) return shadow_;
    QPainterPath shape;
    shape.addRoundedRect(QRectF(cardRect()), look_.cornerRadius, look_.cornerRadius);
    shadow_ = softShadow(size(), shape, look_.shadowRadius, look_.shadowOpacity);
    return shadow_;
}

void MaterialCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, shadow());
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = palette().color(QPalette::Window).lightness() < 128;
    QColor material = WheelPalette::forScheme(dark ? ColorScheme::dark : ColorScheme::light).regularMaterial;
    material.setAlpha(255);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(cardRect()), look_.cornerRadius, look_.cornerRadius);
    painter.fillPath(shape, material);
}

} // namespace rondelix
