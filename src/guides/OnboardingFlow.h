#pragma once

#include "engine/PermissionPoll.h"
#include "guides/OnboardingHost.h"
#include "platform/MainQueue.h"
#include "util/Signal.h"

#include <cstddef>
#include <optional>
#include <string>

namespace rondelix {

// The onboarding window's state and rules: which step shows, where the footer
// leads, the permission watch while the permissions step shows, the one-time
// launch-at-login proposal and the celebration of a first summon. The view
// draws it and forwards clicks. Main thread only.
class OnboardingFlow {
  public:
    static constexpr double confettiSeconds = 4.0;

    OnboardingFlow(OnboardingHost host, OnboardingStep start);
    ~OnboardingFlow();
    OnboardingFlow(const OnboardingFlow&) = delete;
    OnboardingFlow& operator=(const OnboardingFlow&) = delete;

    // The window came on screen with its start step.
    void shown();

    OnboardingStep step() const { return step_; }
    // Both grants are in place.
    bool ready() const;
    bool accessibilityGranted() const;
    bool inputMonitoringGranted() const;
    bool polling() const { return poll_.running(); }

    // The footer. `primary` is the right-hand button (and Return): Get
    // Started, Continue (only while ready) or Done.
    void primary();
    bool primaryEnabled() const { return step_ != OnboardingStep::permissions || ready(); }
    void skip();
    void back();

    // The confetti and the card over the window.
    bool celebrating() const { return celebrating_; }

    bool launchAtLogin() const;
    void setLaunchAtLogin(bool on);
    // Why the last change of launch at login did not happen, if it did not,
    // or else that a configuration written by a newer build keeps no change.
    std::optional<std::string> launchAtLoginProblem() const;

    std::string summonKeysPhrase() const { return host_.summonKeysPhrase(); }
    bool trayShown() const { return !host_.trayShown || host_.trayShown(); }

    // Anything the view shows changed.
    Signal<> changed;

  private:
    void setStep(OnboardingStep step);
    void enteredStep();
    void permissionsChanged();
    void wheelVisibilityChanged();
    void celebrate();

    OnboardingHost host_;
    OnboardingStep step_;
    PermissionPoll poll_;
    bool lastReady_ = false;
    bool sawSummon_ = false;
    bool celebrated_ = false;
    bool celebrating_ = false;
    bool lastWheelVisible_ = false;
    platform::Cancel confettiEnd_;
    ScopedConnection accessibilityConnection_;
    ScopedConnection inputConnection_;
    ScopedConnection wheelConnection_;
    ScopedConnection configConnection_;
};

} // namespace rondelix
