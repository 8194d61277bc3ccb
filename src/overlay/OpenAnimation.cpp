#include "overlay/OpenAnimation.h"

#include <cmath>

namespace rondelix {

namespace {

// The spring's constants make it underdamped (damping ratio about 0.61), so
// it overshoots a little before settling; the closed form below is that case.
struct Spring {
    double naturalFrequency = std::sqrt(OpenAnimation::springStiffness / OpenAnimation::springMass);
    double dampingRatio = OpenAnimation::springDamping /
                          (2 * std::sqrt(OpenAnimation::springStiffness * OpenAnimation::springMass));
    double decay = dampingRatio * naturalFrequency;
    double dampedFrequency = naturalFrequency * std::sqrt(1 - dampingRatio * dampingRatio);
};

constexpr double restTolerancePixels = 0.5;

} // namespace

double OpenAnimation::scaleDuration() const {
    if (!scales()) return 0;
    // The offset from full size never exceeds this envelope, which decays
    // exponentially; the rim's radius turns it into pixels.
    const Spring spring;
    const double amplitude =
        (1 - startScale) * std::hypot(1.0, spring.decay / spring.dampedFrequency) * wheelDiameter / 2;
    if (amplitude <= restTolerancePixels) return 0;
    return std::log(amplitude / restTolerancePixels) / spring.decay;
}

bool OpenAnimation::movesRim(double from, double to) const {
    return std::abs(to - from) * wheelDiameter / 2 >= restTolerancePixels;
}

double OpenAnimation::scaleAt(double t) const {
    if (!scales() || t >= scaleDuration()) return 1;
    if (t <= 0) return startScale;
    const Spring spring;
    const double start = startScale - 1;
    const double offset = std::exp(-spring.decay * t) * (start * std::cos(spring.dampedFrequency * t) +
                                                         spring.decay * start / spring.dampedFrequency *
                                                             std::sin(spring.dampedFrequency * t));
    return 1 + offset;
}

} // namespace rondelix
