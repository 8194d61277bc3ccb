// The armed phase's input: what each event does to the open wheel, and
// whether it is swallowed or passed on.
#include "engine/AimGeometry.h"
#include "engine/HotkeyManager.h"
#include "engine/KeyCode.h"
#include "engine/ModifierKeys.h"
#include "model/WheelState.h"

#include <algorithm>

namespace rondelix {

using platform::EventType;
using platform::InputEvent;
using platform::TapVerdict;

namespace {

constexpr std::uint16_t escKey = 53;
constexpr std::uint16_t tabKey = 48;

bool isArrow(std::uint16_t code) {
    return code >= aim::leftArrow && code <= aim::upArrow;
}

} // namespace

bool HotkeyManager::isBindingKey(int code) const {
    return phase_ == Phase::armed &&
           std::find(binding_.keyCodes.begin(), binding_.keyCodes.end(), code) != binding_.keyCodes.end();
}

TapVerdict HotkeyManager::armedHandle(EventType type, const InputEvent& event) {
    if (event.sourceUserData == platform::programEventMarker) return TapVerdict::pass;

    confirmOnce(confirmedArmedGlobal_, onArmedConfirmed);

    const std::uint16_t code = event.keyCode;
    if (draining()) return drainHandle(type, code);
    // Neither open nor draining: a tap left behind has no business holding
    // input back; the watchdog removes it within a second.
    if (phase_ != Phase::armed) return TapVerdict::pass;

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
        shiftTapCandidate_ = false;
        deferFire(true);
        return TapVerdict::swallow;
    case EventType::leftMouseUp:
        if (owedClickUp_) {
            owedClickUp_ = false;
            return TapVerdict::swallow;
        }
        return TapVerdict::pass;
    case EventType::otherMouseDown:
        shiftTapCandidate_ = false;
        return TapVerdict::pass;
    case EventType::otherMouseUp:
        shiftTapCandidate_ = false;
        if (event.buttonNumber >= 2 && event.buttonNumber <= 31 &&
            isBindingKey(static_cast<int>(event.buttonNumber) + 998))
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
    shiftTapCandidate_ = false;
    if (isBindingKey(keyCode)) return TapVerdict::swallow;
    if (keyCode == escKey) {
        summonCancelled_ = true;
        deferCancel();
        return TapVerdict::swallow;
    }
    if (!event.autoRepeat) armSwallowedKeys_.insert(keyCode);

    if (isArrow(keyCode)) {
        if (event.autoRepeat) return TapVerdict::swallow;
        const bool wasHeld = !pressedArrows_.empty();
        pressedArrows_.insert(keyCode);
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
        const bool stepping = !pressedNumpad_.empty();
        pressedNumpad_.insert(keyCode);
        handleNumpadAim(*digit, stepping);
        return TapVerdict::swallow;
    }
    if (keyCode == tabKey) {
        // Swallowed even when Tab does not switch: it must not move the focus
        // of the application under the wheel.
        if (behavior().tabCyclesWheels) cycleWheel((event.flags & modifiers::shiftFlag) == 0);
        return TapVerdict::swallow;
    }
    if (wheelState_.aimedPosition() || !producesTypedCharacter(event)) return TapVerdict::swallow;
    // Typing with nothing aimed: the user meant to type, so the wheel goes and
    // the character reaches the application.
    armSwallowedKeys_.erase(keyCode);
    summonCancelled_ = true;
    deferCancel();
    return TapVerdict::pass;
}

TapVerdict HotkeyManager::handleArmedKeyUp(std::uint16_t keyCode) {
    if (isArrow(keyCode)) {
        arrowKeyUp(keyCode);
        return swallowedKeyRule(keyCode);
    }
    if (KeyCode::keypadDigit(keyCode)) {
        pressedNumpad_.erase(keyCode);
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
    return armSwallowedKeys_.erase(keyCode) ? TapVerdict::swallow : TapVerdict::pass;
}

void HotkeyManager::applyReleaseRule(bool deferred) {
    const std::optional<int> aim = wheelState_.aimedPosition();
    const bool graceOn = behavior().releaseGraceEnabled && behavior().releaseGraceMs >= 1;
    if (!aim && inReleaseGrace_) return;
    if (!aim && graceOn) {
        beginReleaseGrace();
        return;
    }
    if (deferred) {
        deferFire(false);
        return;
    }
    const std::string wheelId = wheelState_.activeWheelId();
    clearReleaseGrace();
    disarmAfterFire(false);
    fire(aim, wheelId);
}

void HotkeyManager::deferFire(bool clickFired) {
    const std::int64_t token = armToken_;
    const std::optional<int> aim = wheelState_.aimedPosition();
    const std::string wheelId = wheelState_.activeWheelId();
    platform_.queue.post(weakly([this, token, aim, wheelId, clickFired] {
        // Two closing events of one summon fire at most once.
        if (armToken_ != token) return;
        disarmAfterFire(clickFired);
        fire(aim, wheelId);
    }));
}

void HotkeyManager::deferCancel() {
    const std::int64_t token = armToken_;
    platform_.queue.post(weakly([this, token] {
        if (armToken_ != token) return;
        disarmAfterFire(false);
    }));
}

void HotkeyManager::handleScroll(const InputEvent& event) {
    shiftTapCandidate_ = false;
    const Config& config = configStore_.config();
    if (config.wheels.size() < 2) return;
    const int steps = scrollAccumulator_.add(event.scrollDeltaVertical, event.scrollDeltaHorizontal,
                                             config.behavior.invertScroll, config.behavior.scrollSensitivity,
                                             config.wheels.size());
    for (int i = 0; i < steps; ++i)
        cycleWheel(false);
    for (int i = 0; i < -steps; ++i)
        cycleWheel(true);
}

void HotkeyManager::handleShiftTapCycle(const InputEvent& event) {
    const bool shift = (event.flags & modifiers::shiftFlag) != 0;
    const Behavior& b = behavior();
    const bool bindingHasShift = isBindingKey(modifiers::leftShift) || isBindingKey(modifiers::rightShift);
    if (!b.tabCyclesWheels || !b.shiftTapCyclesBackward || phase_ != Phase::armed || bindingHasShift) {
        shiftTapCandidate_ = false;
        shiftWasDown_ = shift;
        return;
    }
    if (!shift && shiftWasDown_) {
        if (shiftTapCandidate_) cycleWheel(false);
        shiftTapCandidate_ = false;
    } else if (shift && shiftWasDown_) {
        shiftTapCandidate_ = false;
    } else if (shift) {
        // The binding's own modifiers are held anyway; any other modifier
        // makes this Shift part of a shortcut, not a tap.
        std::uint64_t own = 0;
        for (const int code : binding_.keyCodes)
            own |= modifiers::groupFlag(code);
        const std::uint64_t others = (modifiers::functionFlag | modifiers::commandFlag |
                                      modifiers::optionFlag | modifiers::controlFlag) &
                                     ~own;
        shiftTapCandidate_ = (event.flags & others) == 0;
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
