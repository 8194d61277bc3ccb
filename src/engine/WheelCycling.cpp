#include "engine/WheelCycling.h"

#include <algorithm>
#include <cmath>

namespace rondelix {

std::optional<std::size_t> cycledWheelIndex(const std::vector<Wheel>& wheels, const std::string& openWheelId,
                                            bool forward) {
    const std::size_t n = wheels.size();
    if (n < 2) return std::nullopt;
    auto open =
        std::find_if(wheels.begin(), wheels.end(), [&](const Wheel& w) { return w.id == openWheelId; });
    if (open == wheels.end()) return std::nullopt;
    const auto i = static_cast<std::size_t>(open - wheels.begin());
    return forward ? (i + 1) % n : (i + n - 1) % n;
}

std::optional<std::size_t> numberedWheelIndex(std::size_t wheelCount, int number) {
    if (number < 1 || static_cast<std::size_t>(number) > wheelCount) return std::nullopt;
    return static_cast<std::size_t>(number - 1);
}

int ScrollSwitch::add(double vertical, double horizontal, bool invert, double sensitivity,
                      std::size_t wheelCount) {
    if (!std::isfinite(vertical) || !std::isfinite(horizontal)) return 0;
    double delta = std::abs(horizontal) <= std::abs(vertical) ? -vertical : horizontal;
    if (invert) delta = -delta;
    const double step = 2.0 / std::max(sensitivity, 0.05);
    if (!std::isfinite(step) || step <= 0.0) return 0;
    accumulated_ += delta;
    if (!std::isfinite(accumulated_)) {
        accumulated_ = 0.0;
        return 0;
    }
    if (std::abs(accumulated_) < step) return 0;
    // Whole steps taken at once: a flung wheel can report deltas that would
    // otherwise loop for a very long time switching round and round.
    const double remainder = std::fmod(accumulated_, step);
    const double steps = (accumulated_ - remainder) / step;
    accumulated_ = remainder;
    if (wheelCount < 2) return 0;
    // Only turns beyond the first are dropped: a scroll that comes full circle
    // still switches (and clicks) its way back to the same wheel.
    const double count = static_cast<double>(wheelCount);
    const double whole = std::abs(std::round(steps));
    const double kept = whole <= count ? whole : std::fmod(whole - 1.0, count) + 1.0;
    return static_cast<int>(std::copysign(kept, steps));
}

} // namespace rondelix
