#include "app/SteppedFade.h"

#include <algorithm>
#include <cmath>

namespace rondelix {

SteppedFade::SteppedFade(double from, double to, double seconds, std::function<double(double)> curve,
                         int stepsPerUnit)
    : from_(from), to_(to), seconds_(seconds), curve_(std::move(curve)),
      steps_(from == to ? 0
                        : std::max(1, static_cast<int>(std::lround(std::abs(to - from) * stepsPerUnit)))) {}

// The step the curve has reached, rounded to the nearest.
int SteppedFade::stepAt(double seconds) const {
    if (seconds >= seconds_) return steps_;
    if (seconds <= 0) return 0;
    return std::clamp(static_cast<int>(std::lround(curve_(seconds / seconds_) * steps_)), 0, steps_);
}

double SteppedFade::valueAt(double seconds) const {
    const int step = stepAt(seconds);
    if (step == steps_) return to_;
    return from_ + (to_ - from_) * step / steps_;
}

std::optional<double> SteppedFade::nextChangeAfter(double seconds) const {
    const int step = stepAt(seconds);
    if (step == steps_) return std::nullopt;
    // The first moment past `seconds` at which the step rounds higher.
    double low = std::max(seconds, 0.0), high = seconds_;
    for (int i = 0; i < 40 && high - low > 1e-4; ++i) {
        const double middle = (low + high) / 2;
        (stepAt(middle) > step ? high : low) = middle;
    }
    return std::max(high, seconds + frameSeconds);
}

} // namespace rondelix
