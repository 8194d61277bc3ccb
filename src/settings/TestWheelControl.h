#pragma once

#include "util/Signal.h"

#include <functional>

namespace rondelix {

// The settings' hold on the test wheel, which the application shell owns:
// whether it shows, turning it on and off, and hearing when that changes
// (Esc ends it too).
struct TestWheelControl {
    std::function<bool()> isActive;
    std::function<void()> toggle;
    std::function<void()> deactivate;
    // Calls `changed` at every change while the returned connection lasts.
    std::function<ScopedConnection(std::function<void()> changed)> observe;
};

} // namespace rondelix
