#include "guides/OnboardingFlow.h"

#include "engine/PermissionsCheck.h"
#include "model/WheelState.h"
#include "store/ConfigStore.h"

namespace rondelix {

OnboardingFlow::OnboardingFlow(OnboardingHost host, OnboardingStep start)
    : host_(std::move(host)), step_(start), poll_(host_.queue, host_.permissions, host_.nudgeListenTap) {
    lastReady_ = ready();
    lastWheelVisible_ = host_.wheel.isVisible();
    accessibilityConnection_ =
        host_.permissions.accessibilityTrustedChanged.connectScoped([this](bool) { permissionsChanged(); });
    inputConnection_ =
        host_.permissions.inputMonitoringTrustedChanged.connectScoped([this](bool) { permissionsChanged(); });
    wheelConnection_ = host_.wheel.changed.connectScoped([this](WheelState::Property property) {
        if (property == WheelState::Property::isVisible) wheelVisibilityChanged();
    });
    // The launch-at-login switch follows the configuration, also when it changes elsewhere.
    configConnection_ = host_.store.configChanged.connectScoped([this] { changed.emit(); });
}

OnboardingFlow::~OnboardingFlow() {
    poll_.stop();
    confettiEnd_.cancel();
}

void OnboardingFlow::shown() {
    enteredStep();
}

bool OnboardingFlow::accessibilityGranted() const {
    return host_.permissions.accessibilityTrusted();
}

bool OnboardingFlow::inputMonitoringGranted() const {
    return host_.permissions.inputMonitoringTrusted();
}

bool OnboardingFlow::ready() const {
    return accessibilityGranted() && inputMonitoringGranted();
}

void OnboardingFlow::primary() {
    switch (step_) {
    case OnboardingStep::welcome:
        setStep(OnboardingStep::permissions);
        break;
    case OnboardingStep::permissions:
        if (ready()) setStep(OnboardingStep::ready);
        break;
    case OnboardingStep::ready:
        // Evaluated at the click: a grant lost meanwhile makes it a skip.
        host_.finish(!ready());
        break;
    }
}

void OnboardingFlow::skip() {
    if (step_ != OnboardingStep::ready) setStep(OnboardingStep::ready);
}

void OnboardingFlow::back() {
    if (step_ == OnboardingStep::ready)
        setStep(OnboardingStep::permissions);
    else if (step_ == OnboardingStep::permissions)
        setStep(OnboardingStep::welcome);
}

void OnboardingFlow::setStep(OnboardingStep step) {
    if (step == step_) return;
    step_ = step;
    enteredStep();
}

void OnboardingFlow::enteredStep() {
    host_.saveStep(step_);
    // The watch lives only while the permissions step shows; coming back
    // starts a new one with an immediate refresh.
    if (step_ == OnboardingStep::permissions)
        poll_.start();
    else
        poll_.stop();
    if (step_ == OnboardingStep::ready && host_.claimLaunchAtLoginProposal()) setLaunchAtLogin(true);
    changed.emit();
}

void OnboardingFlow::permissionsChanged() {
    const bool now = ready();
    const bool becameReady = now && !lastReady_;
    lastReady_ = now;
    // Only a grant that arrives while the step shows moves on; grants already
    // in place wait for Continue.
    if (becameReady && step_ == OnboardingStep::permissions) {
        setStep(OnboardingStep::ready);
        host_.fire();
        return;
    }
    changed.emit();
}

void OnboardingFlow::wheelVisibilityChanged() {
    const bool visible = host_.wheel.isVisible();
    if (visible == lastWheelVisible_) return;
    lastWheelVisible_ = visible;
    if (step_ != OnboardingStep::ready || celebrated_) return;
    if (visible)
        sawSummon_ = true;
    else if (sawSummon_)
        celebrate();
}

void OnboardingFlow::celebrate() {
    celebrated_ = true;
    host_.fire();
    celebrating_ = true;
    changed.emit();
    confettiEnd_ = host_.queue.after(confettiSeconds, [this] {
        celebrating_ = false;
        changed.emit();
    });
}

Color OnboardingFlow::accent() const {
    return Color::fromHex(host_.store.config().behavior.accentHex);
}

bool OnboardingFlow::launchAtLogin() const {
    return host_.store.config().general.launchAtLogin;
}

std::optional<std::string> OnboardingFlow::launchAtLoginProblem() const {
    if (const auto& problem = host_.store.launchAtLoginProblem()) return problem;
    if (host_.store.isReadOnly()) return host_.store.saveRefusal()->sentence;
    return std::nullopt;
}

void OnboardingFlow::setLaunchAtLogin(bool on) {
    host_.store.mutate([on](Config& config) { config.general.launchAtLogin = on; });
    host_.store.applyLaunchAtLogin(on);
}

} // namespace rondelix
