#pragma once

#include "app/AppWindows.h"

#include <map>
#include <vector>

namespace rondelix::testsupport {

// Windows that exist only as state: what the coordinator asked for, and what
// the user does to them through the helpers below.
class SimAppWindows final : public AppWindows {
public:
    State state(Kind kind) const override {
        const auto it = states.find(kind);
        return it == states.end() ? State{} : it->second;
    }
    bool programIsActive() const override { return active; }

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
    void openHowItWorks() override {
        ++howItWorksOpens;
        open(Kind::howItWorks);
    }
    void bringForward(Kind kind) override {
        forwarded.push_back(kind);
        for (auto& [k, s] : states) s.key = false;
        State& s = states[kind];
        s.visible = true;
        s.miniaturized = false;
        s.key = true;
    }
    void orderOut(Kind kind) override {
        State& s = states[kind];
        s.visible = false;
        s.key = false;
    }
    void close(Kind kind) override {
        ++programCloses;
        if (kind == Kind::main)
            orderOut(kind);
        else
            states.erase(kind);
    }

    // What the user does.
    void userCloses(Kind kind) {
        if (kind == Kind::main) {
            orderOut(kind);
            if (onMainWindowClosed) onMainWindowClosed();
            return;
        }
        states.erase(kind);
        if (kind == Kind::onboarding && onOnboardingClosedByUser) onOnboardingClosedByUser();
    }
    void miniaturize(Kind kind) {
        State& s = states[kind];
        s.visible = false;
        s.key = false;
        s.miniaturized = true;
    }
    void resignKey(Kind kind) { states[kind].key = false; }

    std::map<Kind, State> states;
    bool active = false;
    std::optional<MainTab> mainMadeFor;
    int mainMakes = 0;
    std::optional<OnboardingStep> onboardingStep;
    int onboardingOpens = 0;
    std::optional<std::string> highlight;
    int shortcutSetupOpens = 0;
    int howItWorksOpens = 0;
    int programCloses = 0;
    std::vector<Kind> forwarded;

private:
    void open(Kind kind) {
        states[kind].exists = true;
        bringForward(kind);
    }
};

} // namespace rondelix::testsupport
