// The armed phase's input: what each event does to the open wheel, and
// whether it is swallowed or passed on.
#include "engine/AimGeometry.h"
#include "engine/HotkeyManager.h"
#include "engine/KeyCode.h"
#include "model/SummonKey.h"
#include "platform/ModifierFlags.h"

#include <algorithm>

namespace rondelix {

using platform::EventType;
using platform::InputEvent;
using platform::TapVerdict;

namespace {

constexpr std::uint16_t escKey = 53;
constexpr std::uint16_t tabKey = 48;

} // namespace

bool HotkeyManager::isBindingKey(int code) const {
    if (!summoned_) return false;
    const auto& keys = summoned_->binding.keyCodes;
    return std::find(keys.begin(), keys.end(), code) != keys.end();
}

TapVerdict HotkeyManager::armedHandle(EventType type, const InputEvent& event) {
    if (event.sourceUserData == platform::programEventMarker) return TapVerdict::pass;

    if (!confirmedArmedGlobal_ && provesGlobalInput()) {
        confirmedArmedGlobal_ = true;
        if (callbacks.onArmedConfirmed) callbacks.onArmedConfirmed();
    }

    const std::uint16_t code = event.keyCode;
    if (draining_) return drainHandle(type, code);
    // Neither open nor draining: a tap left behind has no business holding
    // input back; the watchdog removes it within a second.
    if (!summoned_) return TapVerdict::pass;
    Summoned& summon = *summoned_;

    switch (type) {
    case EventType::keyDown:
        return handleArmedKeyDown(code, event);
    case EventType::keyUp:
        return handleArmedKeyUp(code);
    case EventType::mouseMoved:
    case EventType::leftMouseDragged:
    case EventType::otherMouseDragged:
        onMouseMoved();
        return TapVerdict::pass;
    case EventType::leftMouseDown:
        summon.shiftTapCandidate = false;
        deferFire(true);
        return TapVerdict::swallow;
    case EventType::leftMouseUp:
        if (summon.owedClickUp) {
            summon.owedClickUp = false;
            return TapVerdict::swallow;
        }
        return TapVerdict::pass;
    case EventType::otherMouseDown:
        summon.shiftTapCandidate = false;
        return TapVerdict::pass;
    case EventType::otherMouseUp:
        summon.shiftTapCandidate = false;
        if (event.buttonNumber >= MouseButton::middle && event.buttonNumber <= MouseButton::last &&
            isBindingKey(static_cast<int>(event.buttonNumber) + SummonKey::mouseButtonOffset))
            applyReleaseRule(true);
        return TapVerdict::pass;
    case EventType::scrollWheel:
        handleScroll(event);
        return TapVerdict::swallow;
    default:
        return TapVerdict::pass;
    }
}

TapVerdict HotkeyManager::handleArmedKeyDown(std::uint16_t keyCode, const InputEvent& event) {
    Summoned& summon = *summoned_;
    summon.shiftTapCandidate = false;
    if (isBindingKey(keyCode)) return TapVerdict::swallow;
    if (!event.autoRepeat) summon.swallowedKeys.insert(keyCode);
    if (keyCode == escKey) {
        summon.cancelled = true;
        deferCancel();
        return TapVerdict::swallow;
    }

    if (aim::isArrow(keyCode)) {
        if (event.autoRepeat) return TapVerdict::swallow;
        const bool wasHeld = !summon.pressedArrows.empty();
        summon.pressedArrows.insert(keyCode);
        arrowKeyDown(keyCode, wasHeld);
        return TapVerdict::swallow;
    }
    if (const auto number = KeyCode::numberValue(keyCode)) {
        // Repeats land here too and change nothing: the wheel is already open.
        selectWheel(*number);
        return TapVerdict::swallow;
    }
    if (const auto digit = KeyCode::keypadDigit(keyCode)) {
        if (event.autoRepeat) return TapVerdict::swallow;
        const bool stepping = !summon.pressedNumpad.empty();
        summon.pressedNumpad.insert(keyCode);
        handleNumpadAim(*digit, stepping);
        return TapVerdict::swallow;
    }
    if (keyCode == tabKey) {
        // Swallowed even when Tab does not switch: it must not move the focus
        // of the application under the wheel.
        if (behavior().tabCyclesWheels) cycleWheel((event.flags & ModifierFlag::shift) == 0);
        return TapVerdict::swallow;
    }
    if (summon.aim || !producesTypedCharacter(event)) return TapVerdict::swallow;
    // Typing with nothing aimed: the user meant to type, so the wheel goes and
    // the character reaches the application.
    summon.swallowedKeys.erase(keyCode);
    summon.cancelled = true;
    deferCancel();
    return TapVerdict::pass;
}

TapVerdict HotkeyManager::handleArmedKeyUp(std::uint16_t keyCode) {
    if (aim::isArrow(keyCode)) {
        arrowKeyUp(keyCode);
        return swallowedKeyRule(keyCode);
    }
    if (KeyCode::keypadDigit(keyCode)) {
        summoned_->pressedNumpad.erase(keyCode);
        return swallowedKeyRule(keyCode);
    }
    if (isBindingKey(keyCode)) {
        applyReleaseRule(true);
        return TapVerdict::pass;
    }
    return swallowedKeyRule(keyCode);
}

TapVerdict HotkeyManager::swallowedKeyRule(std::uint16_t keyCode) {
    // An application never sees a key up without its key down.
    return summoned_->swallowedKeys.erase(keyCode) ? TapVerdict::swallow : TapVerdict::pass;
}

void HotkeyManager::applyReleaseRule(bool deferred) {
    const std::optional<int> aim = summoned_->aim;
    const bool graceOn = behavior().releaseGraceEnabled && behavior().releaseGraceMs >= 1;
    if (!aim && summoned_->graceDeadline) return;
    if (!aim && graceOn) {
        beginReleaseGrace();
        return;
    }
    if (deferred) {
        deferFire(false);
        return;
    }
    const std::string wheelId = summoned_->wheelId;
    clearReleaseGrace();
    const Ending ending = disarmAfterFire(false);
    fire(aim, wheelId, ending);
}

void HotkeyManager::deferFire(bool clickFired) {
    summoned_->closeQueued = true;
    const std::int64_t token = armToken_;
    const std::optional<int> aim = summoned_->aim;
    const std::string wheelId = summoned_->wheelId;
    // With the input, ahead of redraws: a key pressed after this one must
    // find the wheel closed, as it would have been on a quiet machine.
    platform_.queue.postFirst(weakly([this, token, aim, wheelId, clickFired] {
        // Two closing events of one summon fire at most once.
        if (armToken_ != token) return;
        const Ending ending = disarmAfterFire(clickFired);
        fire(aim, wheelId, ending);
    }));
}

void HotkeyManager::deferCancel() {
    summoned_->closeQueued = true;
    const std::int64_t token = armToken_;
    platform_.queue.postFirst(weakly([this, token] {
        if (armToken_ != token) return;
        disarmAfterFire(false);
    }));
}

void HotkeyManager::handleScroll(const InputEvent& event) {
    summoned_->shiftTapCandidate = false;
    const Config& config = configStore_.config();
    if (config.wheels.size() < 2) return;
    const int steps = summoned_->scroll.add(event.scrollDeltaVertical, event.scrollDeltaHorizontal,
                                            config.behavior.invertScroll, config.behavior.scrollSensitivity,
                                            config.wheels.size());
    for (int i = 0; i < steps; ++i)
        cycleWheel(false);
    for (int i = 0; i < -steps; ++i)
        cycleWheel(true);
}

void HotkeyManager::handleShiftTapCycle(const InputEvent& event) {
    const bool shift = (event.flags & ModifierFlag::shift) != 0;
    const Behavior& b = behavior();
    const bool bindingHasShift =
        isBindingKey(ModifierKeyCode::leftShift) || isBindingKey(ModifierKeyCode::rightShift);
    if (!b.tabCyclesWheels || !b.shiftTapCyclesBackward || !summoned_ || bindingHasShift) {
        if (summoned_) summoned_->shiftTapCandidate = false;
        shiftWasDown_ = shift;
        return;
    }
    if (!shift && shiftWasDown_) {
        const bool tapped = summoned_->shiftTapCandidate;
        summoned_->shiftTapCandidate = false;
        if (tapped) cycleWheel(false);
    } else if (shift && shiftWasDown_) {
        summoned_->shiftTapCandidate = false;
    } else if (shift) {
        // The binding's own modifiers are held anyway; any other modifier
        // makes this Shift part of a shortcut, not a tap.
        std::uint64_t own = 0;
        for (const int code : summoned_->binding.keyCodes)
            own |= modifierGroupFlag(code);
        const std::uint64_t others =
            (ModifierFlag::function | ModifierFlag::command | ModifierFlag::option | ModifierFlag::control) &
            ~own;
        summoned_->shiftTapCandidate = (event.flags & others) == 0;
    }
    shiftWasDown_ = shift;
}

bool HotkeyManager::producesTypedCharacter(const InputEvent& event) {
    const std::size_t units = std::min<std::size_t>(event.characters.size(), 4);
    return std::any_of(event.characters.begin(),
                       event.characters.begin() + static_cast<std::ptrdiff_t>(units),
                       [](char16_t u) { return u > 31 && u != 127; });
}

} // namespace rondelix
