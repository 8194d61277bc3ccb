#pragma once

#include "overlay/SliceShape.h"

#include <optional>

namespace rondelix {

// A point in the drawn square, origin top left, y growing downward.
struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// The measures of a wheel drawn in a square of the given side. The hub stays
// empty; icons, labels, markers and the glow sit on the mid radius.
struct WheelGeometry {
    double side = 0;

    Point centre() const { return {side / 2, side / 2}; }
    double hubRadius() const { return 0.2 * side; }
    double outerRadius() const { return side / 2 - 2; }
    double midRadius() const { return (hubRadius() + outerRadius()) / 2; }
    double iconSize() const { return 0.0875 * side; }

    SliceShape sector(int position, int count) const { return {position, count, hubRadius(), outerRadius()}; }
    // Where slot `position` of `count` puts its icon.
    Point slotPoint(int position, int count) const;

    // The hub's stack sits a little above the wheel's centre.
    Point hubCentre() const { return {side / 2, side / 2 - 0.42 * hubRadius()}; }
    double hubNameFontSize() const;
};

// Centre angle of slot `position` of `count`: 0 at 12 o'clock, clockwise.
double slotAngle(int position, int count);

// The slot under a point of the s × s square, or none on the hub, outside
// the ring or for a wheel without slots. Both ring edges belong to the ring.
std::optional<int> wedgeAt(Point point, double side, int count);

} // namespace rondelix
