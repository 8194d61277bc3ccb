#pragma once

#include "app/AppWindows.h"

#include <map>
#include <vector>

namespace rondelix::testsupport {

// Windows that exist only as state: what the coordinator asked for, and what
// the user does to them through the helpers below.
class SimAppWindows final : public AppWindows {
  public:
    State state(Kind kind) const override { return states.count(kind) ? states.at(kind) : State{}; }
    bool programIsActive() const override { return false; }

    void makeMain(MainTab tab) override {
        states[Kind::main].exists = true;
        mainMadeFor = tab;
        ++mainMakes;
    }
    void openOnboarding(OnboardingStep step) override {
        onboardingStep = step;
        ++onboardingOpens;
        open(Kind::onboarding);
    }
    void openShortcutSetup(const std::optional<std::string>& h) override {
        highlight = h;
        ++shortcutSetupOpens;
        open(Kind::shortcutSetup);
    }
    void openHowItWorks() override { open(Kind::howItWorks); }
    void bringForward(Kind kind) override {
        forwarded.push_back(kind);
        for (auto& entry : states)
            entry.second.key = false;
        states[kind] = {true, true, false, true};
    }
    void orderOut(Kind kind) override { states[kind].visible = states[kind].key = false; }
    void close(Kind kind) override { kind == Kind::main ? orderOut(kind) : void(states.erase(kind)); }

    // What the user does.
    void userCloses(Kind kind) {
        close(kind);
        if (kind == Kind::main && onMainWindowClosed) onMainWindowClosed();
        if (kind == Kind::onboarding && onOnboardingClosedByUser) onOnboardingClosedByUser();
    }
    void miniaturize(Kind kind) { states[kind] = {true, false, true, false}; }
    void resignKey(Kind kind) { states[kind].key = false; }

    std::map<Kind, State> states;
    std::optional<MainTab> mainMadeFor;
    int mainMakes = 0;
    std::optional<OnboardingStep> onboardingStep;
    int onboardingOpens = 0;
    std::optional<std::string> highlight;
    int shortcutSetupOpens = 0;
    std::vector<Kind> forwarded;

  private:
    void open(Kind kind) { bringForward(kind); }
};

} // namespace rondelix::testsupport
