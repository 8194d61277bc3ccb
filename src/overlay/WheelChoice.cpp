#include "overlay/WheelChoice.h"

#include <algorithm>

namespace rondelix {

namespace {
const Wheel* findWheel(const Config& config, const std::string& id) {
    const auto found =
        std::find_if(config.wheels.begin(), config.wheels.end(), [&](const Wheel& w) { return w.id == id; });
    return found == config.wheels.end() ? nullptr : &*found;
}
} // namespace

const Wheel* wheelToDraw(const Config& config, const std::string& activeWheelId) {
    if (const Wheel* active = findWheel(config, activeWheelId)) return active;
    if (const Wheel* lastUsed = findWheel(config, config.lastUsedWheelId)) return lastUsed;
    return config.wheels.empty() ? nullptr : &config.wheels.front();
}

} // namespace rondelix
