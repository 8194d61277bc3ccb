#pragma once

#include "util/Signal.h"

#include <string>

namespace rondelix {

// Starting and stopping the scripted wheel demo, as the Development page
// offers it: one run at a time; a start while running does nothing.
class DemoControl {
  public:
    virtual ~DemoControl() = default;

    virtual bool isRunning() const = 0;
    // Plays the named scene ("all" for the whole demo).
    virtual void play(const std::string& scene) = 0;
    // Ends the running demo at its next step; nothing when none runs.
    virtual void cancel() = 0;

    // Told when isRunning changes.
    Signal<> runningChanged;
};

} // namespace rondelix
