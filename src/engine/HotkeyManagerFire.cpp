// The end of a summon: release grace, firing, dismissing, and draining the
// keys still held when the wheel closes.
#include "engine/HotkeyManager.h"
#include "model/WheelState.h"

#include <algorithm>

namespace rondelix {

using platform::EventType;
using platform::TapVerdict;

namespace {

constexpr int untilReleasedDrainMs = 1500;
constexpr int minimumDelayDrainMs = 50;

} // namespace

void HotkeyManager::beginReleaseGrace() {
    const int ms = std::max(behavior().releaseGraceMs, 1);
    const double seconds = ms / 1000.0;
    inReleaseGrace_ = true;
    graceDeadline_ = platform_.queue.now() + seconds;
    const std::int64_t token = armToken_;
    releaseGraceWorkItem_.cancel();
    releaseGraceWorkItem_ = platform_.queue.after(seconds, weakly([this, token] {
                                                      if (!inReleaseGrace_ || armToken_ != token) return;
                                                      clearReleaseGrace();
                                                      // The slot aimed during the window fires; with none the
                                                      // wheel closes.
                                                      const std::optional<int> aim =
                                                          wheelState_.aimedPosition();
                                                      const std::string wheelId = wheelState_.activeWheelId();
                                                      disarmAfterFire(false);
                                                      fire(aim, wheelId);
                                                  }));
}

void HotkeyManager::disarmAfterFire(bool clickFired) {
    clearReleaseGrace();
    const bool leftClick = clickFired || owedClickUp_;
    owedClickUp_ = false;
    // Arrow and keypad keys still down whose key down this summon swallowed:
    // their repeats and key ups must not reach the application either.
    const KeyCodeSet held = pressedArrows_.united(pressedNumpad_).intersected(armSwallowedKeys_);
    if (held.empty() && !leftClick) {
        disarm();
        return;
    }
    overlayController_.hide();
    pressedArrows_.clear();
    pressedNumpad_.clear();
    armSwallowedKeys_.clear();
    heldModifiers_.clear();
    phase_ = Phase::idle;
    ++armToken_;
    beginDrain(held, leftClick);
}

void HotkeyManager::fire(std::optional<int> aimed, const std::string& wheelId) {
    overlayController_.hide();
    pressedArrows_.clear();
    const bool wasPreview = summonIsPreview_;
    const bool wasCancelled = summonCancelled_;
    summonIsPreview_ = false;
    summonCancelled_ = false;

    // A cancel that raced this release (Esc, then the binding let go before
    // the cancel ran) records nothing, as the cancel itself would not.
    if (!wasPreview && !wasCancelled && configStore_.config().lastUsedWheelId != wheelId)
        configStore_.recordLastUsedWheel(wheelId);
    if (!aimed || wasCancelled) return;

    const std::optional<Wheel> found = configStore_.wheel(wheelId);
    const Wheel wheel = found ? *found : configStore_.activeWheel();
    // The wheel may have shrunk under an open summon (the file was reloaded,
    // or the fallback wheel is smaller): a slot it no longer has dismisses.
    if (*aimed < 0 || *aimed >= wheel.sliceCount) return;

    const auto slice = std::find_if(wheel.slices.begin(), wheel.slices.end(),
                                    [&](const Slice& s) { return s.position == *aimed; });
    if (slice != wheel.slices.end()) {
        feedback_.fire();
        macroExecutor_.fire(slice->action);
    } else if (behavior().emptySliceOpensEditor && onOpenSliceEditor) {
        // The wheel whose slot was found empty: when the open id names no
        // wheel any more, the editor opens on the fallback wheel that exists.
        onOpenSliceEditor(wheel.id, *aimed);
    }
}

void HotkeyManager::beginDrain(const KeyCodeSet& keys, bool leftClick) {
    drainingArrows_ = keys;
    drainingLeftClick_ = leftClick;
    const std::int64_t token = armToken_;
    const Behavior& b = behavior();
    int ms = b.heldArrowMode == Behavior::HeldArrowMode::delay
                 ? std::max(b.heldArrowDelayMs, minimumDelayDrainMs)
                 : untilReleasedDrainMs;
    if (leftClick) ms = std::max(ms, untilReleasedDrainMs);
    drainWorkItem_.cancel();
    drainWorkItem_ = platform_.queue.after(ms / 1000.0, weakly([this, token] { endDrain(token); }));
}

TapVerdict HotkeyManager::drainHandle(EventType type, std::uint16_t keyCode) {
    if (type == EventType::leftMouseUp && drainingLeftClick_) {
        drainingLeftClick_ = false;
        if (drainingArrows_.empty()) scheduleDrainTeardown();
        return TapVerdict::swallow;
    }
    const bool keyEvent = type == EventType::keyDown || type == EventType::keyUp;
    if (!keyEvent || !drainingArrows_.contains(keyCode)) return TapVerdict::pass;
    if (type == EventType::keyUp) {
        drainingArrows_.erase(keyCode);
        if (drainingArrows_.empty() && !drainingLeftClick_) scheduleDrainTeardown();
    }
    return TapVerdict::swallow;
}

void HotkeyManager::scheduleDrainTeardown() {
    drainTeardownPending_ = true;
    // Never remove the tap from inside its own callback.
    const std::int64_t token = armToken_;
    platform_.queue.post(weakly([this, token] { endDrain(token); }));
}

void HotkeyManager::endDrain(std::int64_t token) {
    if (armToken_ != token || !draining()) return;
    armedTap_.uninstall();
    drainWorkItem_.cancel();
    drainWorkItem_ = {};
    drainingArrows_.clear();
    drainingLeftClick_ = false;
    drainTeardownPending_ = false;
}

} // namespace rondelix
