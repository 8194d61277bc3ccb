#include "editor/KeystrokeRecorder.h"

namespace rondelix {

void KeystrokeRecorder::start() {
    if (recording_) return;
    setRecording(true);
    if (onActiveChange) onActiveChange(true);
}

void KeystrokeRecorder::stop() {
    if (!recording_) return;
    setRecording(false);
    if (onActiveChange) onActiveChange(false);
}

bool KeystrokeRecorder::keyPressed(std::optional<int> keyCode, const KeyCombo& modifiers) {
    if (!recording_) return false;
    if (!keyCode) {
        if (onUnmappableKey) onUnmappableKey();
        return true;
    }
    KeyCombo combo = modifiers;
    combo.keyCode = *keyCode;
    if (onCapture) onCapture(combo);
    stop();
    return true;
}

void KeystrokeRecorder::setRecording(bool on) {
    if (recording_ == on) return;
    recording_ = on;
    recordingChanged.emit();
}

} // namespace rondelix
