#include "overlay/WheelGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace rondelix {

double slotAngle(int position, int count) {
    return SliceShape{position, count}.midAngle();
}

Point WheelGeometry::slotPoint(int position, int count) const {
    const double angle = slotAngle(position, count);
    const double radius = midRadius();
    return {side / 2 + radius * std::cos(angle), side / 2 + radius * std::sin(angle)};
}

double WheelGeometry::hubNameFontSize() const {
    return std::max(0.16 * hubRadius(), 13.0);
}

std::optional<int> wedgeAt(Point point, double side, int count) {
    if (count < 1) return std::nullopt;
    const double dx = point.x - side / 2;
    const double dy = point.y - side / 2;
    const double r = std::sqrt(dx * dx + dy * dy);
    if (!(r >= 0.2 * side && r <= side / 2 - 2)) return std::nullopt;
    const double angle = std::atan2(dy, dx) + std::numbers::pi / 2;
    const long k = std::lround(angle / (2 * std::numbers::pi / count));
    long slot = k % count;
    if (slot < 0) slot += count;
    return static_cast<int>(slot);
}

} // namespace rondelix
