#pragma once

#include "engine/KeyEventTap.h"
#include "platform/EventTaps.h"
#include "platform/MainQueue.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace rondelix {

// The listen tap's health, looked at by the summon engine's watchdog once a
// second: whether the tap has proved that it sees global input, whether the
// system disabled it, whether secure input holds keys back from it; and its
// rebuilding, which is rate limited. One function per check.
class TapHealth {
  public:
    static constexpr double listenRebuildMinInterval = 0.5;
    static constexpr double rebuildVerifyDelay = 1.5;
    static constexpr std::int64_t secureInputReportTicks = 6;

    // install builds the listen tap afresh; it is the engine's, which knows the handler.
    TapHealth(platform::MainQueue& queue, platform::EventTaps& taps, KeyEventTap& listenTap,
              std::function<void()> install);

    bool listenConfirmed() const { return listenConfirmed_; }
    void confirmListen() { listenConfirmed_ = true; }

    // Installs the listen tap again unless it has already proved itself.
    void ensureListenTap();
    // Tears the listen tap down and builds it again (at most every 0.5 s),
    // optionally checking 1.5 s later that it receives events.
    void forceRebuild(bool thenVerify);

    // A disabled listen tap is reported once per spell and rebuilt.
    void checkListenTapEnabled(const std::function<void(bool blocked)>& reportBlocked);
    // Secure input held for six ticks running is reported, and so is its end.
    void checkSecureInput(const std::function<void(bool on)>& reportBlocking);
    // A rebuild that was to be verified and still saw no global input is
    // rebuilt once more at once.
    void checkRebuildVerified();

  private:
    bool rebuildAllowed() const;
    void rebuildNow();

    platform::MainQueue& queue_;
    platform::EventTaps& taps_;
    KeyEventTap& listenTap_;
    std::function<void()> install_;

    bool listenConfirmed_ = false;
    bool reportedListenDisabled_ = false;
    std::int64_t secureInputTicks_ = 0;
    bool reportedSecureInputBlocking_ = false;
    // None until the first forced rebuild, so the rate limit never holds
    // back the first one however early it comes.
    std::optional<double> lastRebuildAt_;
    std::optional<double> verifyRebuildAt_;
};

} // namespace rondelix
