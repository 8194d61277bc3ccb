#include "engine/HotkeyManager.h"

#include "engine/BindingMatch.h"
#include "model/SummonKey.h"
#include "platform/ModifierFlags.h"

#include <algorithm>

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
      listenTap_(platform_.taps), armedTap_(platform_.taps),
      health_(platform_.queue, platform_.taps, listenTap_, [this] { installListenTap(); }),
      bindingsWatch_(configStore_.configChanged.connectScoped([this] { handSummonChords(); })) {}

HotkeyManager::~HotkeyManager() {
    lifetime_.end();
    watchdogTask_.cancel();
}

void HotkeyManager::start() {
    handSummonChords();
    installListenTap();
    startWatchdogIfNeeded();
}

void HotkeyManager::handSummonChords() {
    std::vector<platform::KeyChord> chords;
    for (const SummonBinding& binding : configStore_.config().bindings) {
        if (!binding.enabled || binding.keyCodes.empty() ||
            !std::all_of(binding.keyCodes.begin(), binding.keyCodes.end(), isHoldableKeyCode))
            continue;
        platform::KeyChord chord;
        for (const int code : binding.keyCodes)
            if (SummonKey::isMouseButtonCode(code))
                chord.buttonNumbers.push_back(SummonKey::mouseButtonOfCode(code));
            else
                chord.keyCodes.push_back(static_cast<std::uint16_t>(code));
        chords.push_back(std::move(chord));
    }
    if (chords == handedChords_) return;
    handedChords_ = chords;
    platform_.taps.setSummonChords(std::move(chords));
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
    return [this, handle, alive = lifetime_.watch()](EventType type, const InputEvent& event) {
        if (!alive) return TapVerdict::pass;
        return (this->*handle)(type, event);
    };
}

bool HotkeyManager::provesGlobalInput() const {
    // Only input that reached a tap while another program had the focus
    // proves that the system lets the tap see global input.
    return !(platform_.programIsActive && platform_.programIsActive());
}

void HotkeyManager::ensureListenTap() {
    health_.ensureListenTap();
}

void HotkeyManager::forceRebuildListenTap(bool thenVerify) {
    health_.forceRebuild(thenVerify);
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

void HotkeyManager::watchdogTick() {
    const double now = platform_.queue.now();
    if (!removeStrayArmedTap()) checkMissedRelease(now);
    health_.checkListenTapEnabled(callbacks.onSummonBlockedByPermissions);
    health_.checkSecureInput(callbacks.onSecureInputBlockingChanged);
    health_.checkRebuildVerified();
    checkStuckRecorder(now);
}

bool HotkeyManager::removeStrayArmedTap() {
    // A stray armed tap grabs input for nothing; a disabled one misses the release.
    if (!armedTap_.isInstalled() || (armedTap_.isEnabled() && armedTapNeeded())) return false;
    disarm();
    return true;
}

// The keyboard's state shows the binding let go before its release event
// is handled, and with it the pointer's last moves, which aim: the watchdog
// looks again a moment later, so that those events decide. A lost event
// never comes: then the release counts as it would have, so a slice aimed
// now fires, once. A closing step already queued by the release is left to
// do it.
void HotkeyManager::checkMissedRelease(double now) {
    if (!releaseMissed(now) || summoned_->releaseRecheckPending) return;
    summoned_->releaseRecheckPending = true;
    const std::int64_t token = armToken_;
    summoned_->releaseRecheck = platform_.queue.after(releaseEventSlack, weakly([this, token] {
                                                          if (armToken_ != token || !summoned_) return;
                                                          summoned_->releaseRecheckPending = false;
                                                          if (releaseMissed(platform_.queue.now()))
                                                              recoverMissedRelease();
                                                      }));
}

bool HotkeyManager::releaseMissed(double now) const {
    if (!summoned_ || summoned_->closeQueued || !bindingFullyReleased(summoned_->binding)) return false;
    const auto& deadline = summoned_->graceDeadline;
    return !deadline || now >= *deadline + graceWatchdogSlack;
}

void HotkeyManager::recoverMissedRelease() {
    platform_.log.write("watchdog recovered a stuck armed tap (missed summon-release).");
    if (!summoned_->graceDeadline) {
        applyReleaseRule(false);
        return;
    }
    // The grace ran out without its step: whatever is aimed now fires.
    const std::optional<int> aim = summoned_->aim;
    const std::string wheelId = summoned_->wheelId;
    clearReleaseGrace();
    const Ending ending = disarmAfterFire(false);
    fire(aim, wheelId, ending);
}

void HotkeyManager::checkStuckRecorder(double now) {
    if (!recording_ || !recordingSince_ || now - *recordingSince_ <= stuckRecorderAfter) return;
    // Copied before the call: the recorder may clear its callbacks as it stops.
    const auto liveness = callbacks.recordingLiveness;
    if (liveness && liveness()) return;
    platform_.log.write("recovering a stuck recording session (recorder gone).");
    if (const auto cancel = callbacks.cancelStuckRecorder) cancel();
    if (recording_) {
        recording_ = false;
        recordingSince_.reset();
    }
    callbacks.recordingLiveness = nullptr;
    callbacks.cancelStuckRecorder = nullptr;
}

void HotkeyManager::disarm() {
    armedTap_.uninstall();
    overlayController_.hide();
    heldModifiers_.clear();
    arming_.reset();
    summoned_.reset();
    draining_.reset();
    ++armToken_;
}

void HotkeyManager::clearReleaseGrace() {
    if (!summoned_) return;
    summoned_->graceDeadline.reset();
    summoned_->graceStep.cancel();
}

bool HotkeyManager::bindingFullyReleased(const SummonBinding& binding) const {
    if (binding.keyCodes.empty()) return false;
    // The live state, not the tracked events: the releasing event may be lost.
    const std::uint64_t flags = platform_.taps.flagsState();
    for (const int code : binding.keyCodes) {
        if (SummonKey::isMouseButtonCode(code)) {
            if (!platform_.taps.isButtonDown(SummonKey::mouseButtonOfCode(code))) return true;
        } else if (code < 0 || code > 65535) {
            return true;
        } else if (const std::uint64_t group = modifierGroupFlag(code)) {
            if ((flags & group) == 0) return true;
        } else if (!platform_.taps.isKeyDown(static_cast<std::uint16_t>(code))) {
            return true;
        }
    }
    return false;
}

} // namespace rondelix
