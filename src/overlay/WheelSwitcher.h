#pragma once

#include "model/Config.h"

#include <string>
#include <vector>

namespace rondelix {

// What the hub shows above the wheel's name: a dot per wheel while they fit,
// else the open wheel's place as "3 / 14".
struct WheelSwitcher {
    enum class Style { hidden, dots, count };

    Style style = Style::hidden;
    // One per wheel in order, true for the open wheel's dot.
    std::vector<bool> dots;
    // The open wheel's place, also kept with the dots: the compact form a
    // hub too small for the dots shows instead.
    std::string countText;
    friend bool operator==(const WheelSwitcher&, const WheelSwitcher&) = default;
};

// The most wheels shown as dots in a wheel of the given side.
int switcherDotLimit(double side);

// `wheelIds`: the ids of all the wheels, in order.
WheelSwitcher wheelSwitcher(const std::vector<std::string>& wheelIds, const std::string& activeWheelId,
                            double side);

} // namespace rondelix
