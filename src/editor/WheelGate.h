#pragma once

#include <array>
#include <optional>
#include <string>

namespace rondelix {

// The texts of one confirmation shown on the way to a new wheel.
struct WheelGate {
    std::string title;
    std::string message;
    std::string confirm;

    friend bool operator==(const WheelGate&, const WheelGate&) = default;
};

// The confirmation for adding one more wheel to `count` wheels, or none where
// adding needs none. 99 and 255 have sequences of their own.
std::optional<WheelGate> wheelGate(int count);

// The three confirmations before the hundredth wheel, in order.
const std::array<WheelGate, 3>& centuryConfirmations();

// The five alerts of the 255-wheel sequence, in order; `confirm` is each
// alert's only button.
const std::array<WheelGate, 5>& farewellAlerts();

} // namespace rondelix
