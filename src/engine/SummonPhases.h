#pragma once

#include "engine/KeyCodeSet.h"
#include "engine/WheelCycling.h"
#include "model/Config.h"
#include "platform/Geometry.h"
#include "platform/MainQueue.h"

#include <optional>
#include <string>

namespace rondelix::summon_phase {

// The summon engine keeps one of these per phase, each in an optional that is
// reset in one step when the phase ends.

// The keys of a binding are down and its hold threshold runs.
struct Arming {
    SummonBinding binding;
    // The threshold counts from here, across a switch to a longer binding.
    double startedAt = 0;
    // A shortcut typed with the binding's keys since they went down.
    bool chordSinceDown = false;
    platform::ScopedCancel armStep;
};

// A wheel is open and the armed tap intercepts input.
struct Summoned {
    SummonBinding binding;
    // The wheel open and the slot aimed, as the engine decides them; the
    // wheel state shows them a moment later (HotkeyManager::showWheelAndAim).
    std::string wheelId;
    std::optional<int> aim;
    // A step that shows them is posted and has not run yet.
    bool showQueued = false;
    KeyCodeSet pressedArrows;
    KeyCodeSet steppablePrimed;
    bool aimAnchored = false;
    KeyCodeSet pressedNumpad;
    // Keys whose key down this summon swallowed: their key ups are too.
    KeyCodeSet swallowedKeys;
    bool shiftTapCandidate = false;
    ScrollSwitch scroll;
    bool mouseAimUnlocked = true;
    platform::Point mouseStart;
    bool isPreview = false;
    bool cancelled = false;
    // The up of a click that closed the previous summon.
    bool owedClickUp = false;
    // A fire or cancel is posted and will close this summon.
    bool closeQueued = false;
    // Set while the binding was let go with nothing aimed.
    std::optional<double> graceDeadline;
    platform::ScopedCancel graceStep;
    // The watchdog found the binding let go before its release came, and
    // looks again in a moment.
    bool releaseRecheckPending = false;
    platform::ScopedCancel releaseRecheck;
};

// The wheel closed with keys still down whose presses the summon swallowed:
// their repeats and key ups stay swallowed until they are let go.
struct Draining {
    KeyCodeSet keys;
    bool leftClick = false;
    platform::ScopedCancel endStep;
};

} // namespace rondelix::summon_phase
