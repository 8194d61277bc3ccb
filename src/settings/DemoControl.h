#pragma once

#include "util/Signal.h"

#include <functional>
#include <string>

namespace rondelix {

// Starting and stopping the scripted wheel demo, as the Development page
// offers it: one run at a time; a start while running does nothing.
struct DemoControl {
    std::function<bool()> isRunning;
    // Plays the named scene ("all" for the whole demo).
    std::function<void(const std::string& scene)> play;
    // Ends the running demo at its next step; nothing when none runs.
    std::function<void()> cancel;
    // Told when isRunning changes.
    Signal<>& runningChanged;
};

} // namespace rondelix
