#include "overlay/WheelSwitcher.h"

#include <algorithm>
#include <cmath>

namespace rondelix {

int switcherDotLimit(double side) {
    const double fit = std::trunc((0.4 * side - 11) / 11);
    return static_cast<int>(std::clamp(std::isfinite(fit) ? fit : 3.0, 3.0, 10.0));
}

WheelSwitcher wheelSwitcher(const std::vector<Wheel>& allWheels, const std::string& activeWheelId,
                            double side) {
    WheelSwitcher switcher;
    if (allWheels.size() < 2) return switcher;
    const auto found = std::find_if(allWheels.begin(), allWheels.end(),
                                    [&](const Wheel& wheel) { return wheel.id == activeWheelId; });
    // A wheel that is not in the list counts as the first.
    const auto index = found == allWheels.end() ? 0 : found - allWheels.begin();
    switcher.countText = std::to_string(index + 1) + " / " + std::to_string(allWheels.size());
    if (static_cast<std::size_t>(switcherDotLimit(side)) >= allWheels.size()) {
        switcher.style = WheelSwitcher::Style::dots;
        for (const Wheel& wheel : allWheels)
            switcher.dots.push_back(wheel.id == activeWheelId);
        return switcher;
    }
    switcher.style = WheelSwitcher::Style::count;
    return switcher;
}

} // namespace rondelix
