#include "gallery/WorkshopLayout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace rondelix::WorkshopLayout {

double wheelSize(double width, double height) {
    return std::max(minimumWheelSize, 0.85 * std::min(height - 140, width - 450 - 80));
}

double switchProgress(double seconds) {
    if (seconds <= 0) return 0;
    if (seconds >= switchSeconds) return 1;
    constexpr double response = 0.5, damping = 0.82;
    const double natural = 2 * std::numbers::pi / response;
    const double decay = damping * natural;
    const double damped = natural * std::sqrt(1 - damping * damping);
    return 1 - std::exp(-decay * seconds) *
                   (std::cos(damped * seconds) + decay / damped * std::sin(damped * seconds));
}

} // namespace rondelix::WorkshopLayout
