#pragma once

#include "engine/KeyCodeSet.h"
#include "engine/KeyEventTap.h"
#include "engine/SummonActions.h"
#include "engine/SummonFeedback.h"
#include "engine/SummonOverlay.h"
#include "engine/SummonPhases.h"
#include "engine/TapHealth.h"
#include "engine/WheelCycling.h"
#include "model/Config.h"
#include "platform/EventTaps.h"
#include "platform/Geometry.h"
#include "platform/Log.h"
#include "platform/MainQueue.h"
#include "platform/Screens.h"
#include "platform/Workspace.h"
#include "store/ConfigStore.h"
#include "util/LifetimeGuard.h"
#include "util/Signal.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rondelix {

class WheelState;

// The summon engine: turns global key, modifier and button events into the
// summon, aim and fire of a wheel. It owns a listen-only tap that is always
// installed and an intercepting ("armed") tap that exists only while a wheel
// is open or while keys still held after a fire are drained, plus a watchdog
// that repairs lost taps and stuck states once a second. Main thread only.
class HotkeyManager {
  public:
    // What the engine needs of the system besides the taps' own interface.
    struct Platform {
        platform::MainQueue& queue;
        platform::Log& log;
        platform::EventTaps& taps;
        const platform::Screens& screens;
        // The application with the focus: a wheel bound to it opens when app
        // detection is on.
        const platform::Workspace& workspace;
        // Whether one of the program's own windows has the focus; events seen
        // then prove no permission.
        std::function<bool()> programIsActive;
    };

    static constexpr double watchdogInterval = 1.0;
    static constexpr double listenRebuildMinInterval = TapHealth::listenRebuildMinInterval;
    static constexpr double rebuildVerifyDelay = TapHealth::rebuildVerifyDelay;
    static constexpr double graceWatchdogSlack = 1.0;
    // How long a release that the keyboard's state shows may take to reach
    // the taps before the watchdog counts it missed.
    static constexpr double releaseEventSlack = 0.25;
    static constexpr double stuckRecorderAfter = 5.0;
    static constexpr std::int64_t secureInputReportTicks = TapHealth::secureInputReportTicks;

    HotkeyManager(ConfigStore& configStore, WheelState& wheelState, SummonOverlay& overlayController,
                  SummonActions& macroExecutor, SummonFeedback& feedback, Platform platform);
    ~HotkeyManager();
    HotkeyManager(const HotkeyManager&) = delete;
    HotkeyManager& operator=(const HotkeyManager&) = delete;

    // Begins listening and starts the watchdog. Safe to call again.
    void start();
    // Installs the listen tap again unless it has already proved itself.
    void ensureListenTap();
    // Tears the listen tap down and builds it again (at most every 0.5 s),
    // optionally checking 1.5 s later that it receives events.
    void forceRebuildListenTap(bool thenVerify);
    // A key recorder starts or stops; summoning is suspended meanwhile.
    void setRecording(bool on);

    // For the shell and the diagnostics report.
    bool confirmedListenGlobal() const { return health_.listenConfirmed(); }
    bool confirmedArmedGlobal() const { return confirmedArmedGlobal_; }
    bool listenTapInstalled() const { return listenTap_.isInstalled(); }
    bool listenTapEnabled() const { return listenTap_.isEnabled(); }
    bool armedTapInstalled() const { return armedTap_.isInstalled(); }
    bool armedTapEnabled() const { return armedTap_.isEnabled(); }
    bool watchdogRunning() const { return watchdogTask_.isValid() && !watchdogTask_.isCancelled(); }
    bool recording() const { return recording_; }

    // Callbacks, set by their owners; an unset one is skipped, and an unset
    // question counts as no.
    struct Callbacks {
        std::function<bool()> isSummonPaused;
        // true: a summon failed because the armed tap could not be installed;
        // false: the watchdog found the listen tap disabled (once per spell).
        std::function<void(bool blocked)> onSummonBlockedByPermissions;
        std::function<void(bool on)> onSecureInputBlockingChanged;
        // A non-empty answer names the wheel being edited, shown instead.
        std::function<std::optional<std::string>()> editorPreviewWheelId;
        std::function<void(const std::string& wheelId, int position)> onOpenSliceEditor;
        // The keys of a summon binding went down: a summon follows once they
        // are held past the binding's threshold.
        std::function<void()> onArming;
        std::function<void()> onListenConfirmed;
        std::function<void()> onArmedConfirmed;
        std::function<void(int button, bool isDown)> onRecordingMouseButton;
        std::function<bool()> recordingLiveness;
        std::function<void()> cancelStuckRecorder;
    };
    Callbacks callbacks;

  private:
    // The record of each phase of a summon; declared outside the class so
    // that each is complete where the optionals below need it.
    using Arming = summon_phase::Arming;
    using Summoned = summon_phase::Summoned;
    using Draining = summon_phase::Draining;

    // What a closed summon leaves for its firing.
    struct Ending {
        bool isPreview = false;
        bool cancelled = false;
    };

    // Object, taps and watchdog.
    void installListenTap();
    void handSummonChords();
    void startWatchdogIfNeeded();
    void scheduleWatchdogTick();
    void watchdogTick();
    bool removeStrayArmedTap();
    void checkMissedRelease(double now);
    bool releaseMissed(double now) const;
    void recoverMissedRelease();
    void checkStuckRecorder(double now);
    void disarm();
    void clearReleaseGrace();
    bool bindingFullyReleased(const SummonBinding& binding) const;
    bool armedTapNeeded() const { return summoned_ || draining_; }
    bool provesGlobalInput() const;
    template <typename F> std::function<void()> weakly(F fn);
    using TapHandle = platform::TapVerdict (HotkeyManager::*)(platform::EventType,
                                                              const platform::InputEvent&);
    KeyEventTap::Handler weakHandler(TapHandle handle);

    // Listening, binding evaluation and arming.
    platform::TapVerdict listenHandle(platform::EventType type, const platform::InputEvent& event);
    bool isCodeDown(int code) const;
    bool isHeld(const SummonBinding& binding) const;
    bool completesBinding(std::uint16_t pressed) const;
    bool isBindingMember(std::uint16_t code) const;
    std::optional<SummonBinding> bestMatchingBinding() const;
    void evaluateBindings(double happened);
    void beginArming(const SummonBinding& binding, double since);
    double armingDeadline() const;
    void armIfStillHolding(const SummonBinding& binding);
    void finishArming(bool held);
    void cancelArming();
    void arm(const SummonBinding& binding, double due);
    bool installArmedTap();
    std::string wheelForFrontmostApp() const;

    // Armed input.
    platform::TapVerdict armedHandle(platform::EventType type, const platform::InputEvent& event);
    platform::TapVerdict handleArmedKeyDown(std::uint16_t keyCode, const platform::InputEvent& event);
    platform::TapVerdict handleArmedKeyUp(std::uint16_t keyCode);
    bool isBindingKey(int code) const;
    platform::TapVerdict swallowedKeyRule(std::uint16_t keyCode);
    void handleScroll(const platform::InputEvent& event);
    void handleShiftTapCycle(const platform::InputEvent& event);
    void applyReleaseRule(bool deferred);
    void deferFire(bool clickFired);
    void deferCancel();
    static bool producesTypedCharacter(const platform::InputEvent& event);

    // Aiming.
    int openSlotCount() const;
    platform::Point pointerAt(double time) const;
    void setAim(std::optional<int> position);
    void showWheelAndAim();
    void onMouseMoved();
    std::optional<int> mouseAimIndex() const;
    std::optional<int> position(const KeyCodeSet& arrows) const;
    void arrowKeyDown(std::uint16_t arrow, bool wasHeld);
    void arrowKeyUp(std::uint16_t arrow);
    void handleNumpadAim(int digit, bool stepping);

    // Wheel switching.
    void cycleWheel(bool forward);
    void selectWheel(int number);
    void reaimAfterSwitch();

    // Firing, release grace and draining.
    void beginReleaseGrace();
    Ending disarmAfterFire(bool clickFired);
    void fire(std::optional<int> aimed, const std::string& wheelId, Ending ending);
    void beginDrain(const KeyCodeSet& keys, bool leftClick);
    platform::TapVerdict drainHandle(platform::EventType type, std::uint16_t keyCode);
    void scheduleDrainTeardown();
    void endDrain(std::int64_t token);

    const Behavior& behavior() const { return configStore_.config().behavior; }
    bool askPaused() const { return callbacks.isSummonPaused && callbacks.isSummonPaused(); }

    // Deferred steps and tap handlers watch this; the destructor ends it first.
    LifetimeGuard lifetime_;

    ConfigStore& configStore_;
    WheelState& wheelState_;
    SummonOverlay& overlayController_;
    SummonActions& macroExecutor_;
    SummonFeedback& feedback_;
    Platform platform_;

    KeyEventTap listenTap_;
    KeyEventTap armedTap_;

    std::optional<Arming> arming_;
    std::optional<Summoned> summoned_;
    std::optional<Draining> draining_;
    // Changes with every summon opened or closed; deferred steps of an
    // earlier one see it and do nothing.
    std::int64_t armToken_ = 0;

    KeyCodeSet heldModifiers_;
    bool shiftWasDown_ = false;
    bool recording_ = false;
    std::optional<double> recordingSince_;

    TapHealth health_;
    bool confirmedArmedGlobal_ = false;
    platform::Cancel watchdogTask_;

    std::vector<platform::KeyChord> handedChords_;
    ScopedConnection bindingsWatch_;
};

template <typename F> std::function<void()> HotkeyManager::weakly(F fn) {
    return [alive = lifetime_.watch(), fn = std::move(fn)]() mutable {
        if (alive) fn();
    };
}

} // namespace rondelix
