#include "overlay/WheelSwitcher.h"

#include <algorithm>
#include <cmath>

namespace rondelix {

int switcherDotLimit(double side) {
    const double fit = std::trunc((0.4 * side - 11) / 11);
    return static_cast<int>(std::clamp(std::isfinite(fit) ? fit : 3.0, 3.0, 10.0));
}

WheelSwitcher wheelSwitcher(const std::vector<std::string>& wheelIds, const std::string& activeWheelId,
                            double side) {
    WheelSwitcher switcher;
    if (wheelIds.size() < 2) return switcher;
    const auto found = std::find(wheelIds.begin(), wheelIds.end(), activeWheelId);
    // A wheel that is not in the list counts as the first.
    const auto index = found == wheelIds.end() ? 0 : found - wheelIds.begin();
    switcher.countText = std::to_string(index + 1) + " / " + std::to_string(wheelIds.size());
    if (static_cast<std::size_t>(switcherDotLimit(side)) >= wheelIds.size()) {
        switcher.style = WheelSwitcher::Style::dots;
        for (const std::string& id : wheelIds)
            switcher.dots.push_back(id == activeWheelId);
        return switcher;
    }
    switcher.style = WheelSwitcher::Style::count;
    return switcher;
}

} // namespace rondelix
