#pragma once

#include "platform/Geometry.h"

#include <optional>

namespace rondelix {

// Where the open wheel sits on screen, for aiming: the centre of its panel in
// screen coordinates (bottom-left origin, y upwards) and the diameter of the
// wheel it shows.
struct SummonPanel {
    double centerX = 0;
    double centerY = 0;
    double wheelDiameter = 0;
};

// What the summon engine asks of the overlay controller.
class SummonOverlay {
  public:
    virtual ~SummonOverlay() = default;

    // Presents the panel at the configured size and position, animated, for
    // the pointer at `pointer`: where it was when the summon came due.
    virtual void show(platform::Point pointer) = 0;
    virtual void hide() = 0;
    // The panel while it is built and on screen; none otherwise.
    virtual std::optional<SummonPanel> visiblePanel() const = 0;
};

} // namespace rondelix
