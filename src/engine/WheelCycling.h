#pragma once

#include "model/Config.h"

#include <optional>
#include <string>
#include <vector>

namespace rondelix {

// The wheel after (forward) or before the open one, wrapping at both ends;
// none with fewer than two wheels or when the open wheel is not in the list.
std::optional<std::size_t> cycledWheelIndex(const std::vector<Wheel>& wheels, const std::string& openWheelId,
                                            bool forward);

// The wheel at a 1-based place in the list, none when there is no such place.
std::optional<std::size_t> numberedWheelIndex(std::size_t wheelCount, int number);

// Turns scroll events into wheel steps, keeping the distance that has not yet
// made a whole step.
class ScrollSwitch {
  public:
    // Adds one scroll event and answers the wheel steps it completes: positive
    // steps go to previous wheels, negative ones to next wheels. Whole turns
    // round the list beyond the first are dropped, so the answer lies within
    // the wheel count however large the delta; a delta that is not a finite
    // number is ignored.
    int add(double vertical, double horizontal, bool invert, double sensitivity, std::size_t wheelCount);

    void reset() { accumulated_ = 0.0; }
    double accumulated() const { return accumulated_; }

  private:
    double accumulated_ = 0.0;
};

} // namespace rondelix
