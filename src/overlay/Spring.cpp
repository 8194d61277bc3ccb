#include "overlay/Spring.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace rondelix {

namespace {
// Close enough to rest to stop animating: well under a pixel.
constexpr double restDistance = 0.01;
constexpr double restSpeed = 0.05;
constexpr double maxStep = 1.0 / 240;
} // namespace

void Spring::jumpTo(double value) {
    value_ = target_ = value;
    velocity_ = 0;
}

bool Spring::isSettled() const {
    return std::fabs(value_ - target_) < restDistance && std::fabs(velocity_) < restSpeed;
}

void Spring::advance(double seconds) {
    if (!(seconds > 0) || !std::isfinite(seconds)) return;
    // A stalled frame clock must not run the spring for minutes.
    seconds = std::min(seconds, 0.25);
    const double omega = 2 * std::numbers::pi / std::max(response_, 1e-3);
    const double stiffness = omega * omega;
    const double friction = 2 * damping_ * omega;
    while (seconds > 0) {
        const double dt = std::min(seconds, maxStep);
        velocity_ += (-stiffness * (value_ - target_) - friction * velocity_) * dt;
        value_ += velocity_ * dt;
        seconds -= dt;
    }
    if (isSettled()) jumpTo(target_);
}

} // namespace rondelix
