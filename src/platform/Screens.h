#pragma once

#include "platform/Geometry.h"

#include <optional>
#include <vector>

namespace rondelix::platform {

struct Screen {
    Rect frame;
    // The frame less the desktop's panels and docks.
    Rect visibleFrame;
    // Device pixels per point.
    double scale = 1.0;

    friend bool operator==(const Screen&, const Screen&) = default;
};

// The display settings that change how the overlay may look and move.
struct DisplayOptions {
    // The desktop shows windows' translucency (a compositor runs).
    bool compositor = true;
    bool reduceTransparency = false;
    bool increaseContrast = false;
    bool reduceMotion = false;
};

// The screens, the pointer on them, and the display settings. Everything in
// bottom-left coordinates (see Geometry.h).
class Screens {
  public:
    virtual ~Screens() = default;

    // In the system's order; the first is the primary screen.
    virtual std::vector<Screen> screens() const = 0;
    // The screen the system treats as current; none when there is no screen.
    virtual std::optional<Screen> mainScreen() const = 0;
    virtual Point pointerLocation() const = 0;
    virtual void warpPointer(Point to) = 0;
    virtual DisplayOptions displayOptions() const = 0;
};

} // namespace rondelix::platform
