// The listen phase of the summon engine: held keys, binding evaluation, the
// hold threshold and arming.
#include "engine/AimGeometry.h"
#include "engine/BindingMatch.h"
#include "engine/HotkeyManager.h"
#include "engine/KeyCode.h"
#include "engine/ModifierKeys.h"
#include "model/SummonKey.h"
#include "model/WheelState.h"
#include "platform/ModifierFlags.h"

#include <algorithm>
#include <cmath>

namespace rondelix {

using platform::EventType;
using platform::InputEvent;
using platform::TapMode;
using platform::TapVerdict;

TapVerdict HotkeyManager::listenHandle(EventType type, const InputEvent& event) {
    if (event.sourceUserData == platform::programEventMarker) return TapVerdict::pass;

    if (!health_.listenConfirmed() && provesGlobalInput()) {
        health_.confirmListen();
        if (callbacks.onListenConfirmed) callbacks.onListenConfirmed();
    }

    const std::uint16_t code = event.keyCode;
    const bool extraButton = (type == EventType::otherMouseDown || type == EventType::otherMouseUp) &&
                             event.buttonNumber >= MouseButton::middle;
    if (recording_) {
        if (extraButton && callbacks.onRecordingMouseButton)
            callbacks.onRecordingMouseButton(static_cast<int>(event.buttonNumber),
                                             type == EventType::otherMouseDown);
        return TapVerdict::pass;
    }
    if (askPaused()) return TapVerdict::pass;

    // A busy program hears events late: the hold counts from when the keys
    // went down, and an event from after the threshold passed, heard before
    // the threshold's own step has run, finds the summon armed first, as it
    // would have been on time. The keys were held until then, or an earlier
    // event would have ended the arming.
    const double now = platform_.queue.now();
    const double happened = std::min(event.time.value_or(now), now);
    if (arming_ && happened >= armingDeadline()) finishArming(true);

    modifiers::updateHeld(heldModifiers_, event.flags);
    switch (type) {
    case EventType::otherMouseDown:
    case EventType::otherMouseUp:
        if (extraButton) evaluateBindings(happened);
        break;
    case EventType::keyDown:
        if (completesBinding(code))
            evaluateBindings(happened);
        else if (arming_)
            // A shortcut typed with the binding's keys (Command+C while Command
            // alone summons) must not open a wheel.
            arming_->chordSinceDown = true;
        break;
    case EventType::keyUp:
        if (isBindingMember(code)) evaluateBindings(happened);
        break;
    case EventType::flagsChanged:
        evaluateBindings(happened);
        handleShiftTapCycle(event);
        break;
    default:
        break;
    }
    return TapVerdict::pass;
}

bool HotkeyManager::isCodeDown(int code) const {
    if (SummonKey::isMouseButtonCode(code))
        return platform_.taps.isButtonDown(SummonKey::mouseButtonOfCode(code));
    // Modifiers come from the tracked flags, so that asking the system is
    // left to plain keys and buttons.
    if (isHeldModifier(code)) return heldModifiers_.contains(static_cast<std::uint16_t>(code));
    return platform_.taps.isKeyDown(static_cast<std::uint16_t>(code));
}

bool HotkeyManager::isHeld(const SummonBinding& binding) const {
    if (binding.keyCodes.empty()) return false;
    return std::all_of(binding.keyCodes.begin(), binding.keyCodes.end(),
                       [this](int code) { return isHoldableKeyCode(code) && isCodeDown(code); });
}

bool HotkeyManager::completesBinding(std::uint16_t pressed) const {
    // The key going down counts as held without asking the system, which may
    // not have caught up with the event yet.
    for (const SummonBinding& b : configStore_.config().bindings) {
        if (!b.enabled || std::find(b.keyCodes.begin(), b.keyCodes.end(), pressed) == b.keyCodes.end())
            continue;
        const bool complete = std::all_of(b.keyCodes.begin(), b.keyCodes.end(), [&](int code) {
            return isHoldableKeyCode(code) && (code == pressed || isCodeDown(code));
        });
        if (complete) return true;
    }
    return false;
}

bool HotkeyManager::isBindingMember(std::uint16_t code) const {
    return std::any_of(configStore_.config().bindings.begin(), configStore_.config().bindings.end(),
                       [code](const SummonBinding& b) {
                           return b.enabled &&
                                  std::find(b.keyCodes.begin(), b.keyCodes.end(), code) != b.keyCodes.end();
                       });
}

std::optional<SummonBinding> HotkeyManager::bestMatchingBinding() const {
    const SummonBinding* best = rondelix::bestMatchingBinding(
        configStore_.config().bindings, [this](const SummonBinding& b) { return isHeld(b); });
    if (!best) return std::nullopt;
    return *best;
}

void HotkeyManager::evaluateBindings(double happened) {
    if (summoned_) {
        if (!isHeld(summoned_->binding)) {
            applyReleaseRule(false);
        } else if (summoned_->graceDeadline) {
            // Pressed again within the grace: as if never released.
            clearReleaseGrace();
        } else if (const auto best = bestMatchingBinding();
                   best && best->keyCodes.size() > summoned_->binding.keyCodes.size()) {
            summoned_->binding = *best;
        }
        return;
    }
    if (arming_) {
        if (isHeld(arming_->binding)) {
            const auto best = bestMatchingBinding();
            if (best && best->keyCodes.size() > arming_->binding.keyCodes.size()) {
                // The threshold keeps counting from the first key down.
                const double since = arming_->startedAt;
                cancelArming();
                beginArming(*best, since);
            }
            return;
        }
        cancelArming();
    }
    if (const auto best = bestMatchingBinding()) beginArming(*best, happened);
}

void HotkeyManager::beginArming(const SummonBinding& binding, double since) {
    arming_.emplace();
    arming_->binding = binding;
    arming_->startedAt = since;
    if (callbacks.onArming) callbacks.onArming();
    const double now = platform_.queue.now();
    const double remainingMs = binding.holdThresholdMs - (now - since) * 1000.0;
    auto step = weakly([this, binding] { armIfStillHolding(binding); });
    if (remainingMs > 0) {
        arming_->armStep = platform_.queue.after(std::trunc(remainingMs) / 1000.0, std::move(step));
        return;
    }
    // Due already because the keys were heard late: the events heard before
    // this one come first, and may have let the keys go in time.
    if (since < now) {
        arming_->armStep = platform_.queue.after(0, std::move(step));
        return;
    }
    finishArming(true);
}

double HotkeyManager::armingDeadline() const {
    return arming_->startedAt + arming_->binding.holdThresholdMs / 1000.0;
}

void HotkeyManager::armIfStillHolding(const SummonBinding& binding) {
    // A superseded or released arming leaves a step behind that must do
    // nothing; the binding id tells them apart.
    if (!arming_ || arming_->binding.id != binding.id) return;
    finishArming(isHeld(binding));
}

void HotkeyManager::finishArming(bool held) {
    // A left button held down is a drag in progress, not a summon.
    if (askPaused() || arming_->chordSinceDown || !held || platform_.taps.isButtonDown(MouseButton::left)) {
        arming_.reset();
        return;
    }
    const SummonBinding binding = arming_->binding;
    arm(binding, armingDeadline());
}

void HotkeyManager::cancelArming() {
    arming_.reset();
}

bool HotkeyManager::installArmedTap() {
    return armedTap_.install(TapMode::intercepting, armedMask, weakHandler(&HotkeyManager::armedHandle));
}

void HotkeyManager::arm(const SummonBinding& binding, double due) {
    // Where the pointer was when the summon came due. The program gets here
    // later, the more so on a busy machine, and the work below takes a
    // while too: a quick flick's move made meanwhile aims, rather than
    // placing the wheel.
    const platform::Point start = pointerAt(due);
    arming_.reset();

    // A drain still running from the previous summon hands over: its keys'
    // key ups are still swallowed and its arrows and keypad digits count as
    // held, so the arrows keep aiming; a click release it still owed is owed
    // by this summon now.
    KeyCodeSet carried;
    bool owedClickUp = false;
    if (draining_) {
        carried = draining_->keys;
        owedClickUp = draining_->leftClick;
    }
    draining_.reset();

    if (!installArmedTap()) {
        platform_.log.write("armed tap install failed — aborting summon.");
        if (callbacks.onSummonBlockedByPermissions) callbacks.onSummonBlockedByPermissions(true);
        return;
    }

    summoned_.emplace();
    summoned_->binding = binding;
    summoned_->owedClickUp = owedClickUp;
    for (const std::uint16_t code : carried) {
        if (aim::isArrow(code))
            summoned_->pressedArrows.insert(code);
        else if (KeyCode::keypadDigit(code))
            summoned_->pressedNumpad.insert(code);
    }
    summoned_->swallowedKeys.insertAll(carried);
    ++armToken_;

    std::optional<std::string> preview =
        callbacks.editorPreviewWheelId ? callbacks.editorPreviewWheelId() : std::nullopt;
    if (preview && preview->empty()) preview.reset();
    summoned_->isPreview = preview.has_value();
    summoned_->wheelId = preview ? *preview : wheelForFrontmostApp();
    if (!summoned_->pressedArrows.empty()) summoned_->aim = position(summoned_->pressedArrows);
    // The overlay opens on what the wheel state says.
    wheelState_.setActiveWheelId(summoned_->wheelId);
    wheelState_.setAimedPosition(summoned_->aim);

    overlayController_.show(start);
    if (!summoned_) return;
    summoned_->mouseStart = start;
    // A pointer that starts in the hub may aim at once; one that starts away
    // from the wheel (placed at the caret, the screen centre, or pushed in
    // from an edge) must move first.
    if (const auto panel = overlayController_.visiblePanel()) {
        const double distance = std::hypot(start.x - panel->centerX, start.y - panel->centerY);
        summoned_->mouseAimUnlocked = distance <= 0.2 * panel->wheelDiameter;
    }
    // A move made since the summon came due aims now.
    if (platform_.screens.pointerLocation() != start) onMouseMoved();
}

std::string HotkeyManager::wheelForFrontmostApp() const {
    const Config& config = configStore_.config();
    if (config.behavior.detectApp) {
        const std::optional<std::string> app = platform_.workspace.frontmostApplication();
        if (app && !app->empty()) {
            for (const Wheel& wheel : config.wheels)
                if (wheel.appBundleIdentifier == *app) return wheel.id;
            // A wheel bound by another platform's identifier opens for the
            // application that identifier stands for here.
            const auto frontmostPath = platform_.workspace.applicationPath(*app);
            for (const Wheel& wheel : config.wheels)
                if (frontmostPath && wheel.appBundleIdentifier &&
                    platform_.workspace.applicationPath(*wheel.appBundleIdentifier) == frontmostPath)
                    return wheel.id;
        }
    }
    if (config.behavior.reopenLastWheel) return config.lastUsedWheelId;
    return config.wheels.empty() ? config.lastUsedWheelId : config.wheels.front().id;
}

void HotkeyManager::setRecording(bool on) {
    recording_ = on;
    recordingSince_ = on ? std::optional<double>(platform_.queue.now()) : std::nullopt;
    if (on) {
        const bool active = arming_ || summoned_ || draining_;
        arming_.reset();
        if (active) disarm();
        heldModifiers_.clear();
    } else {
        callbacks.recordingLiveness = nullptr;
        callbacks.cancelStuckRecorder = nullptr;
    }
}

} // namespace rondelix
