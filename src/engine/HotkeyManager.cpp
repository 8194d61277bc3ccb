#include "engine/HotkeyManager.h"

#include "engine/ModifierKeys.h"
#include "model/WheelState.h"

namespace rondelix {

using platform::EventType;
using platform::InputEvent;
using platform::TapMode;
using platform::TapVerdict;

HotkeyManager::HotkeyManager(ConfigStore& configStore, WheelState& wheelState,
                             SummonOverlay& overlayController, SummonActions& macroExecutor,
                             SummonFeedback& feedback, Platform platform)
    : configStore_(configStore), wheelState_(wheelState), overlayController_(overlayController),
      macroExecutor_(macroExecutor), feedback_(feedback), platform_(std::move(platform)),
      listenTap_(platform_.taps), armedTap_(platform_.taps) {}

HotkeyManager::~HotkeyManager() {
    *alive_ = false;
    watchdogTask_.cancel();
    armWorkItem_.cancel();
    drainWorkItem_.cancel();
    releaseGraceWorkItem_.cancel();
}

void HotkeyManager::start() {
    installListenTap();
    startWatchdogIfNeeded();
}

void HotkeyManager::installListenTap() {
    startWatchdogIfNeeded();
    const bool ok =
        listenTap_.install(TapMode::listenOnly, listenMask, weakHandler(&HotkeyManager::listenHandle));
    platform_.log.write(std::string("installListenTap tapCreate ok=") + (ok ? "true" : "false"));
    if (!ok) platform_.log.write("listen tap install failed — Input Monitoring not granted yet?");
}

KeyEventTap::Handler HotkeyManager::weakHandler(TapHandle handle) {
    // With the engine gone, events pass as if no tap were there.
    return [this, handle, alive = std::weak_ptr<bool>(alive_)](EventType type, const InputEvent& event) {
        const auto held = alive.lock();
        if (!held || !*held) return TapVerdict::pass;
        return (this->*handle)(type, event);
    };
}

void HotkeyManager::confirmOnce(bool& confirmed, const std::function<void()>& onConfirmed) {
    // Only input that reached a tap while another program had the focus
    // proves that the system lets the tap see global input.
    if (confirmed || (platform_.programIsActive && platform_.programIsActive())) return;
    confirmed = true;
    if (onConfirmed) onConfirmed();
}

void HotkeyManager::ensureListenTap() {
    if (!confirmedListenGlobal_) installListenTap();
}

bool HotkeyManager::listenRebuildAllowed() const {
    return !lastListenRebuildAt_ || platform_.queue.now() - *lastListenRebuildAt_ >= listenRebuildMinInterval;
}

void HotkeyManager::rebuildListenTapNow() {
    lastListenRebuildAt_ = platform_.queue.now();
    listenTap_.uninstall();
    confirmedListenGlobal_ = false;
    installListenTap();
}

void HotkeyManager::forceRebuildListenTap(bool thenVerify) {
    const double now = platform_.queue.now();
    if (listenRebuildAllowed()) rebuildListenTapNow();
    if (thenVerify && !verifyRebuildAt_) verifyRebuildAt_ = now + rebuildVerifyDelay;
}

void HotkeyManager::startWatchdogIfNeeded() {
    if (watchdogRunning()) return;
    scheduleWatchdogTick();
}

void HotkeyManager::scheduleWatchdogTick() {
    watchdogTask_ = platform_.queue.after(watchdogInterval, weakly([this] {
                                              watchdogTick();
                                              scheduleWatchdogTick();
                                          }));
}

bool HotkeyManager::draining() const {
    return !drainingArrows_.empty() || drainingLeftClick_ || drainTeardownPending_;
}

bool HotkeyManager::armedTapNeeded() const {
    return phase_ == Phase::armed || draining();
}

void HotkeyManager::watchdogTick() {
    const double now = platform_.queue.now();

    // A stray armed tap grabs input for nothing; a disabled one misses the release.
    bool strayArmedTap = false;
    if (armedTap_.isInstalled() && (!armedTap_.isEnabled() || !armedTapNeeded())) {
        disarm();
        strayArmedTap = true;
    }

    if (!strayArmedTap && phase_ == Phase::armed && bindingFullyReleased(binding_)) {
        const bool graceStillRunning =
            inReleaseGrace_ && graceDeadline_ && now < *graceDeadline_ + graceWatchdogSlack;
        if (!graceStillRunning) {
            platform_.log.write("watchdog recovered a stuck armed tap (missed summon-release).");
            disarm();
        }
    }

    if (listenTap_.isInstalled() && !listenTap_.isEnabled()) {
        if (!reportedListenDisabled_) {
            reportedListenDisabled_ = true;
            if (onSummonBlockedByPermissions) onSummonBlockedByPermissions(false);
        }
        if (listenRebuildAllowed()) rebuildListenTapNow();
    } else {
        reportedListenDisabled_ = false;
    }

    if (platform_.taps.isSecureInputEnabled()) {
        if (secureInputTicks_ < secureInputReportTicks) ++secureInputTicks_;
    } else {
        secureInputTicks_ = 0;
    }
    const bool secureBlocking = secureInputTicks_ >= secureInputReportTicks;
    if (secureBlocking != reportedSecureInputBlocking_) {
        reportedSecureInputBlocking_ = secureBlocking;
        if (onSecureInputBlockingChanged) onSecureInputBlockingChanged(secureBlocking);
    }

    if (verifyRebuildAt_ && *verifyRebuildAt_ <= now) {
        verifyRebuildAt_.reset();
        if (!confirmedListenGlobal_) {
            lastListenRebuildAt_.reset();
            rebuildListenTapNow();
        }
    }

    if (recording_ && recordingSince_ && now - *recordingSince_ > stuckRecorderAfter) {
        // Copied before the call: the recorder may clear its callbacks as it stops.
        const auto liveness = recordingLiveness;
        if (!(liveness && liveness())) {
            platform_.log.write("recovering a stuck recording session (recorder gone).");
            if (const auto cancel = cancelStuckRecorder) cancel();
            if (recording_) {
                recording_ = false;
                recordingSince_.reset();
            }
            recordingLiveness = nullptr;
            cancelStuckRecorder = nullptr;
        }
    }
}

void HotkeyManager::disarm() {
    armedTap_.uninstall();
    overlayController_.hide();
    pressedArrows_.clear();
    armSwallowedKeys_.clear();
    heldModifiers_.clear();
    phase_ = Phase::idle;
    ++armToken_;
    drainWorkItem_.cancel();
    drainWorkItem_ = {};
    drainingArrows_.clear();
    drainingLeftClick_ = false;
    drainTeardownPending_ = false;
    owedClickUp_ = false;
    clearReleaseGrace();
}

void HotkeyManager::clearReleaseGrace() {
    inReleaseGrace_ = false;
    graceDeadline_.reset();
    releaseGraceWorkItem_.cancel();
    releaseGraceWorkItem_ = {};
}

bool HotkeyManager::bindingFullyReleased(const SummonBinding& binding) const {
    if (binding.keyCodes.empty()) return false;
    // The live state, not the tracked events: the releasing event may be lost.
    const std::uint64_t flags = platform_.taps.flagsState();
    for (const int code : binding.keyCodes) {
        if (code >= 1000 && code <= 1029) {
            if (!platform_.taps.isButtonDown(code - 998)) return true;
        } else if (code < 0 || code > 65535) {
            return true;
        } else if (const std::uint64_t group = modifiers::groupFlag(code)) {
            if ((flags & group) == 0) return true;
        } else if (!platform_.taps.isKeyDown(static_cast<std::uint16_t>(code))) {
            return true;
        }
    }
    return false;
}

} // namespace rondelix
