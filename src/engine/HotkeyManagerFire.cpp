// The end of a summon: release grace, firing, dismissing, and draining the
// keys still held when the wheel closes.
#include "engine/HotkeyManager.h"

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
    summoned_->graceDeadline = platform_.queue.now() + seconds;
    const std::int64_t token = armToken_;
    summoned_->graceStep =
        platform_.queue.after(seconds, weakly([this, token] {
                                  if (armToken_ != token || !summoned_ || !summoned_->graceDeadline) return;
                                  clearReleaseGrace();
                                  // The slot aimed during the window fires; with none the wheel closes.
                                  const std::optional<int> aim = summoned_->aim;
                                  const std::string wheelId = summoned_->wheelId;
                                  const Ending ending = disarmAfterFire(false);
                                  fire(aim, wheelId, ending);
                              }));
}

HotkeyManager::Ending HotkeyManager::disarmAfterFire(bool clickFired) {
    if (!summoned_) {
        disarm();
        return {};
    }
    const Summoned& summon = *summoned_;
    const Ending ending{.isPreview = summon.isPreview, .cancelled = summon.cancelled};
    const bool leftClick = clickFired || summon.owedClickUp;
    // Keys still down whose key down this summon swallowed: their repeats and
    // key ups must not reach the application either. On X, ending the grab
    // while one is down would hand the server's repeats of it to the window
    // with the focus.
    const KeyCodeSet held = summon.swallowedKeys;
    if (held.empty() && !leftClick) {
        disarm();
        return ending;
    }
    overlayController_.hide();
    summoned_.reset();
    heldModifiers_.clear();
    ++armToken_;
    beginDrain(held, leftClick);
    return ending;
}

void HotkeyManager::fire(std::optional<int> aimed, const std::string& wheelId, Ending ending) {
    overlayController_.hide();

    // A cancel that raced this release (Esc, then the binding let go before
    // the cancel ran) records nothing, as the cancel itself would not.
    if (!ending.isPreview && !ending.cancelled && configStore_.config().lastUsedWheelId != wheelId)
        configStore_.recordLastUsedWheel(wheelId);
    if (!aimed || ending.cancelled) return;

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
    } else if (behavior().emptySliceOpensEditor && callbacks.onOpenSliceEditor) {
        // The wheel whose slot was found empty: when the open id names no
        // wheel any more, the editor opens on the fallback wheel that exists.
        callbacks.onOpenSliceEditor(wheel.id, *aimed);
    }
}

void HotkeyManager::beginDrain(const KeyCodeSet& keys, bool leftClick) {
    draining_.emplace();
    draining_->keys = keys;
    draining_->leftClick = leftClick;
    const std::int64_t token = armToken_;
    const Behavior& b = behavior();
    const bool untilReleased = b.heldArrowMode != Behavior::HeldArrowMode::delay;
    int ms = untilReleased ? untilReleasedDrainMs : std::max(b.heldArrowDelayMs, minimumDelayDrainMs);
    if (leftClick) ms = std::max(ms, untilReleasedDrainMs);
    draining_->endStep = platform_.queue.after(ms / 1000.0, weakly([this, token, untilReleased] {
                                                   // The drain time is up for a release not seen; on a system
                                                   // that repeats a held key, the key is still down and its
                                                   // repeats are not the application's either. The rest of
                                                   // the input goes back now.
                                                   if (untilReleased && armToken_ == token && draining_)
                                                       for (const std::uint16_t key : draining_->keys)
                                                           platform_.taps.withholdUntilReleased(key);
                                                   endDrain(token);
                                               }));
}

TapVerdict HotkeyManager::drainHandle(EventType type, std::uint16_t keyCode) {
    Draining& drain = *draining_;
    if (type == EventType::leftMouseUp && drain.leftClick) {
        drain.leftClick = false;
        if (drain.keys.empty()) scheduleDrainTeardown();
        return TapVerdict::swallow;
    }
    const bool keyEvent = type == EventType::keyDown || type == EventType::keyUp;
    if (!keyEvent || !drain.keys.contains(keyCode)) return TapVerdict::pass;
    if (type == EventType::keyUp) {
        drain.keys.erase(keyCode);
        if (drain.keys.empty() && !drain.leftClick) scheduleDrainTeardown();
    }
    return TapVerdict::swallow;
}

void HotkeyManager::scheduleDrainTeardown() {
    // Never remove the tap from inside its own callback.
    const std::int64_t token = armToken_;
    platform_.queue.postFirst(weakly([this, token] { endDrain(token); }));
}

void HotkeyManager::endDrain(std::int64_t token) {
    if (armToken_ != token || !draining_) return;
    armedTap_.uninstall();
    draining_.reset();
}

} // namespace rondelix
