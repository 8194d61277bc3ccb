#pragma once

namespace rondelix::platform {

// Screen geometry in points with the origin at the bottom left of the primary
// screen and y growing upwards, the way the system's placement rules are
// written. The desktop layer converts from its own top-left coordinates.

struct Point {
    double x = 0;
    double y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0;
    double height = 0;

    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double minX() const { return x; }
    double maxX() const { return x + width; }
    double midX() const { return x + width / 2; }
    double minY() const { return y; }
    double maxY() const { return y + height; }
    double midY() const { return y + height / 2; }
    Point origin() const { return {x, y}; }
    Point center() const { return {midX(), midY()}; }
    Size size() const { return {width, height}; }

    // A rectangle without area holds no point, so a zero-size screen never
    // claims the pointer.
    bool isEmpty() const { return !(width > 0 && height > 0); }
    bool contains(Point p) const {
        return !isEmpty() && p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
    }

    friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace rondelix::platform
