#include "overlay/ui/ProgramMark.h"

#include "overlay/WheelGeometry.h"
#include "overlay/ui/SliceShapePath.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace rondelix {

void paintProgramMark(QPainter& painter, const QRectF& square, const QColor& color) {
    const double side = std::min(square.width(), square.height());
    if (side <= 0) return;
    const QRectF box(square.center().x() - side / 2, square.center().y() - side / 2, side, side);
    const double outer = side / 2;
    const double inner = side * 0.2;
    constexpr int sectors = 6;
    // A thin gap between sectors keeps them readable at icon sizes.
    const double gap = std::max(1.0, side * 0.06);

    painter.save();
    painter.setPen(Qt::NoPen);
    QPainterPath gaps;
    for (int i = 0; i < sectors; ++i) {
        const double angle = slotAngle(i, sectors) + std::numbers::pi / sectors;
        const QPointF c = box.center();
        QPainterPath spoke;
        spoke.moveTo(c);
        spoke.lineTo(c.x() + outer * 1.1 * std::cos(angle), c.y() + outer * 1.1 * std::sin(angle));
        QPainterPathStroker stroker;
        stroker.setWidth(gap);
        gaps.addPath(stroker.createStroke(spoke));
    }
    for (int i = 0; i < sectors; ++i) {
        QColor fill = color;
        if (i != 0) fill.setAlphaF(color.alphaF() * 0.55f);
        painter.setBrush(fill);
        painter.drawPath(sliceShapePath({i, sectors, inner, outer}, box).subtracted(gaps));
    }
    painter.setBrush(color);
    painter.drawEllipse(box.center(), inner * 0.45, inner * 0.45);
    painter.restore();
}

} // namespace rondelix
