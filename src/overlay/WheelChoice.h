#pragma once

#include "model/Config.h"

#include <string>

namespace rondelix {

// The wheel the overlay draws for the open-wheel state: the wheel with the
// active id, else the last used one, else the first; none without wheels.
const Wheel* wheelToDraw(const Config& config, const std::string& activeWheelId);

} // namespace rondelix
