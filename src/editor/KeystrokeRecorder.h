#pragma once

#include "model/KeyCombo.h"
#include "util/Signal.h"

#include <functional>
#include <optional>

namespace rondelix {

// Captures one key press made in the program's own windows. While it
// records, every key press is offered to it first (the views install an
// application-wide filter), so the key never reaches a field or a menu
// shortcut. Knows nothing of slices or the summon engine; its owner learns
// of a capture and of the start and end through the two callbacks.
// Main thread only.
class KeystrokeRecorder {
  public:
    bool isRecording() const { return recording_; }
    // Told when isRecording changes.
    Signal<> recordingChanged;

    std::function<void(const KeyCombo&)> onCapture;
    std::function<void(bool active)> onActiveChange;
    // Told when a key press could not be captured; the recording goes on.
    std::function<void()> onUnmappableKey;

    // Begins a capture; nothing while one runs.
    void start();
    // Ends a running capture; nothing when none runs.
    void stop();

    // A key press while recording. `keyCode` is the system's key code, none
    // when the key table lacks the key; `modifiers` carries the four flags
    // (its key code is ignored). True when the press is consumed, which every
    // press is while recording: a mapped key is captured and ends the
    // recording, an unmapped one is reported and the recording goes on.
    bool keyPressed(std::optional<int> keyCode, const KeyCombo& modifiers);

  private:
    void setRecording(bool on);

    bool recording_ = false;
};

} // namespace rondelix
