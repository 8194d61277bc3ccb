#pragma once

namespace rondelix::WorkshopLayout {

constexpr double minimumWheelSize = 240;

// The side of the wheel both workshop pages draw, for a page of this size:
// the gallery's 450-point list and the margins beside it, the header above.
double wheelSize(double width, double height);

// A switch between the pages moves as a spring of response 0.5 s and damping
// fraction 0.82 does, which has come to rest (within a thousandth) this long
// after it was let go.
constexpr double switchSeconds = 0.75;
// How far that spring has come `seconds` after it was let go: 0 at first, a
// little past 1 at its overshoot, exactly 1 from `switchSeconds` on.
double switchProgress(double seconds);

} // namespace rondelix::WorkshopLayout
