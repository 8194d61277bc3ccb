#pragma once

namespace rondelix::WorkshopLayout {

constexpr double minimumWheelSize = 240;

// The side of the wheel both workshop pages draw, for a page of this size:
// the gallery's 450-point list and the margins beside it, the header above.
double wheelSize(double width, double height);

} // namespace rondelix::WorkshopLayout
