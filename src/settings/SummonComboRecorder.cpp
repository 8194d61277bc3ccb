#include "settings/SummonComboRecorder.h"

#include "model/SummonKey.h"
#include "platform/ModifierFlags.h"

#include <algorithm>
#include <utility>

namespace rondelix {

SummonComboRecorder::SummonComboRecorder(KeyEventMonitorFactory installMonitor)
    : installMonitor_(std::move(installMonitor)) {}

void SummonComboRecorder::start() {
    if (monitor_ || isRecording_) return;
    setRecording(true);
    setCaptured({});
    order_.clear();
    if (onActiveChange) onActiveChange(true);
    if (installMonitor_)
        monitor_ = installMonitor_([this](const MonitoredKeyEvent& event) { handle(event); });
}

void SummonComboRecorder::stop() {
    if (!isRecording_) return;
    monitor_.reset();
    order_.clear();
    setRecording(false);
    if (onActiveChange) onActiveChange(false);
}

void SummonComboRecorder::confirm() {
    if (!isRecording_ || captured_.empty()) return;
    const std::vector<int> combination = captured_;
    stop();
    if (onCommit) onCommit(combination);
}

void SummonComboRecorder::handleMouseButton(int button, bool isDown) {
    if (!isRecording_) return;
    // Buttons past the last one a binding can hold are ignored, not stored
    // as something else.
    const std::optional<int> code = SummonKey::mouseButtonCode(button);
    if (!code) return;
    if (isDown)
        press(*code);
    else
        release(*code);
}

void SummonComboRecorder::handle(const MonitoredKeyEvent& event) {
    switch (event.type) {
    case MonitoredKeyEvent::Type::keyUp:
        release(event.keyCode);
        break;
    case MonitoredKeyEvent::Type::keyDown:
        pressKey(event.keyCode);
        break;
    case MonitoredKeyEvent::Type::flagsChanged:
        handleFlags(event.keyCode, event.flags);
        break;
    }
}

void SummonComboRecorder::pressKey(int code) {
    if (code == ModifierKeyCode::capsLock) return; // it locks rather than being held, however it arrives
    // A plain key counts only together with a modifier already held.
    const bool modifierHeld = std::ranges::any_of(order_, isHeldModifier);
    if (SummonKey::isTriggerKey(code) || modifierHeld) press(code);
}

void SummonComboRecorder::handleFlags(int code, std::optional<std::uint64_t> flags) {
    const std::uint64_t bit = modifierDownBit(code);
    if (!bit || !flags) return; // Caps Lock locks rather than being held
    if (*flags & bit)
        press(code);
    else
        release(code);
}

void SummonComboRecorder::press(int code) {
    std::vector<int> captured = captured_;
    // A press after everything was let go starts a new combination.
    if (order_.empty()) captured.clear();
    if (std::ranges::find(order_, code) == order_.end()) order_.push_back(code);
    // The peak: the largest set held so far; of equal sets the later wins.
    if (order_.size() >= captured.size()) captured = order_;
    setCaptured(std::move(captured));
}

void SummonComboRecorder::release(int code) {
    std::erase(order_, code);
}

void SummonComboRecorder::setRecording(bool recording) {
    if (isRecording_ == recording) return;
    isRecording_ = recording;
    changed.emit();
}

void SummonComboRecorder::setCaptured(std::vector<int> captured) {
    if (captured_ == captured) return;
    captured_ = std::move(captured);
    changed.emit();
}

} // namespace rondelix
