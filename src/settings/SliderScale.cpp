#include "settings/SliderScale.h"

#include <algorithm>
#include <cmath>

namespace rondelix {

int SliderScale::lastStep() const {
    // The small allowance keeps 0.8 / 0.05 from counting as 15.999….
    return static_cast<int>(std::floor((upper - lower) / step + 1e-9));
}

double SliderScale::valueAt(int stepIndex) const {
    const double value = lower + std::clamp(stepIndex, 0, lastStep()) * step;
    // Decimal steps add binary noise (3 × 0.05 is 0.15000000000000002); the
    // stored value should read as the step the user sees.
    return std::round(value * 1e9) / 1e9;
}

int SliderScale::stepNear(double value) const {
    if (!std::isfinite(value)) return 0;
    return std::clamp(static_cast<int>(std::lround((value - lower) / step)), 0, lastStep());
}

} // namespace rondelix
