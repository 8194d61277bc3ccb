#include "overlay/ui/SliceShapePath.h"

#include <numbers>

namespace rondelix {

namespace {
constexpr double degrees(double radians) {
    return radians * 180.0 / std::numbers::pi;
}

QRectF circle(const QPointF& centre, double radius) {
    return {centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius};
}
} // namespace

QPainterPath sliceShapePath(const SliceShape& shape, const QRectF& rect) {
    QPainterPath path;
    if (!shape.isDrawable()) return path;
    const QPointF c = rect.center();
    // Qt turns positive angles counter-clockwise on screen; the sector's
    // angles turn clockwise, hence the signs.
    const double start = -degrees(shape.startAngle());
    const double sweep = -degrees(shape.step());
    path.arcMoveTo(circle(c, shape.outerRadius), start);
    path.arcTo(circle(c, shape.outerRadius), start, sweep);
    // Qt draws no arc in an empty rectangle, so a pie slice meets the centre.
    if (shape.innerRadius > 0)
        path.arcTo(circle(c, shape.innerRadius), start + sweep, -sweep);
    else
        path.lineTo(c);
    path.closeSubpath();
    return path;
}

} // namespace rondelix
