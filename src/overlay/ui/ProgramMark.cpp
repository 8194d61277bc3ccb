#include "overlay/ui/ProgramMark.h"

#include "overlay/WheelGeometry.h"
#include "overlay/ui/SliceShapePath.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace rondelix {

namespace {

constexpr int sectorCount = 6;

struct MarkShapes {
    double side = 0;
    double inner = 0;
    std::array<QPainterPath, sectorCount> sectors;
};

// The sectors with their gaps cut out, in a square of the side at the
// origin. Cutting is the costly part of drawing the mark, so each side is
// cut once and kept; a program draws the mark at a handful of sides.
const MarkShapes& markShapes(double side) {
    thread_local std::vector<MarkShapes> made;
    for (const MarkShapes& shapes : made)
        if (shapes.side == side) return shapes;
    constexpr std::size_t kept = 16;
    if (made.size() == kept) made.erase(made.begin());
    MarkShapes& shapes = made.emplace_back();
    shapes.side = side;
    const QRectF box(0, 0, side, side);
    const double outer = side / 2;
    shapes.inner = side * 0.2;
    // A thin gap between sectors keeps them readable at icon sizes.
    const double gap = std::max(1.0, side * 0.06);
    QPainterPath gaps;
    for (int i = 0; i < sectorCount; ++i) {
        const double angle = slotAngle(i, sectorCount) + std::numbers::pi / sectorCount;
        const QPointF c = box.center();
        QPainterPath spoke;
        spoke.moveTo(c);
        spoke.lineTo(c.x() + outer * 1.1 * std::cos(angle), c.y() + outer * 1.1 * std::sin(angle));
        QPainterPathStroker stroker;
        stroker.setWidth(gap);
        gaps.addPath(stroker.createStroke(spoke));
    }
    for (int i = 0; i < sectorCount; ++i)
        shapes.sectors[i] = sliceShapePath({i, sectorCount, shapes.inner, outer}, box).subtracted(gaps);
    return shapes;
}

} // namespace

void paintProgramMark(QPainter& painter, const QRectF& square, const QColor& color) {
    const double side = std::min(square.width(), square.height());
    if (side <= 0) return;
    const MarkShapes& shapes = markShapes(side);
    painter.save();
    painter.translate(square.center().x() - side / 2, square.center().y() - side / 2);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < sectorCount; ++i) {
        QColor fill = color;
        if (i != 0) fill.setAlphaF(color.alphaF() * 0.55f);
        painter.setBrush(fill);
        painter.drawPath(shapes.sectors[i]);
    }
    painter.setBrush(color);
    painter.drawEllipse(QPointF(side / 2, side / 2), shapes.inner * 0.45, shapes.inner * 0.45);
    painter.restore();
}

} // namespace rondelix
