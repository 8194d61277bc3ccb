#include "engine/TapHealth.h"

namespace rondelix {

TapHealth::TapHealth(platform::MainQueue& queue, platform::EventTaps& taps, KeyEventTap& listenTap,
                     std::function<void()> install)
    : queue_(queue), taps_(taps), listenTap_(listenTap), install_(std::move(install)) {}

void TapHealth::ensureListenTap() {
    if (!listenConfirmed_) install_();
}

bool TapHealth::rebuildAllowed() const {
    return !lastRebuildAt_ || queue_.now() - *lastRebuildAt_ >= listenRebuildMinInterval;
}

void TapHealth::rebuildNow() {
    lastRebuildAt_ = queue_.now();
    listenTap_.uninstall();
    listenConfirmed_ = false;
    install_();
}

void TapHealth::forceRebuild(bool thenVerify) {
    const double now = queue_.now();
    if (rebuildAllowed()) rebuildNow();
    if (thenVerify && !verifyRebuildAt_) verifyRebuildAt_ = now + rebuildVerifyDelay;
}

void TapHealth::checkListenTapEnabled(const std::function<void(bool blocked)>& reportBlocked) {
    if (!listenTap_.isInstalled() || listenTap_.isEnabled()) {
        reportedListenDisabled_ = false;
        return;
    }
    if (!reportedListenDisabled_) {
        reportedListenDisabled_ = true;
        if (reportBlocked) reportBlocked(false);
    }
    if (rebuildAllowed()) rebuildNow();
}

void TapHealth::checkSecureInput(const std::function<void(bool on)>& reportBlocking) {
    if (taps_.isSecureInputEnabled()) {
        if (secureInputTicks_ < secureInputReportTicks) ++secureInputTicks_;
    } else {
        secureInputTicks_ = 0;
    }
    const bool blocking = secureInputTicks_ >= secureInputReportTicks;
    if (blocking == reportedSecureInputBlocking_) return;
    reportedSecureInputBlocking_ = blocking;
    if (reportBlocking) reportBlocking(blocking);
}

void TapHealth::checkRebuildVerified() {
    if (!verifyRebuildAt_ || *verifyRebuildAt_ > queue_.now()) return;
    verifyRebuildAt_.reset();
    if (listenConfirmed_) return;
    lastRebuildAt_.reset();
    rebuildNow();
}

} // namespace rondelix
