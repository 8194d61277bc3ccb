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
    bool trayShown() const override { return tray; }

    void makeMain(ContentSize size, ContentSize minimum) override {
        states[Kind::main].exists = true;
        mainSize = size;
        mainMinimum = minimum;
        ++mainMakes;
    }
    void fitMain(ContentSize size, ContentSize minimum, bool animated) override {
        mainSize = size;
        mainMinimum = minimum;
        fits.push_back(animated);
    }
    void openSide(Kind kind, const SideRequest& request) override {
        if (kind == Kind::onboarding) {
            onboardingStep = request.step;
            ++onboardingOpens;
        }
        if (kind == Kind::shortcutSetup) {
            highlight = request.highlight;
            ++shortcutSetupOpens;
        }
        bringForward(kind);
    }
    void bringForward(Kind kind) override {
        forwarded.push_back(kind);
        for (auto& entry : states)
            entry.second.key = false;
        states[kind] = {true, true, false, true};
    }
    void orderOut(Kind kind) override { states[kind].visible = states[kind].key = false; }
    void close(Kind kind) override {
        if (kind == Kind::main) return orderOut(kind);
        states.erase(kind);
        if (onSideWindowClosed) onSideWindowClosed(kind, false);
    }
    void setRegularActivation(bool regular) override { policies.push_back(regular); }

    // What the user does.
    void userCloses(Kind kind) {
        if (kind == Kind::main) {
            orderOut(kind);
            if (onMainWindowClosed) onMainWindowClosed();
            return;
        }
        states.erase(kind);
        if (onSideWindowClosed) onSideWindowClosed(kind, true);
    }
    void miniaturize(Kind kind) { states[kind] = {true, false, true, false}; }
    void resignKey(Kind kind) { states[kind].key = false; }
    void userResizes(ContentSize size) {
        mainSize = size;
        if (onMainWindowResized) onMainWindowResized(size);
    }

    std::map<Kind, State> states;
    ContentSize mainSize;
    ContentSize mainMinimum;
    int mainMakes = 0;
    std::vector<bool> fits; // one entry per refit: whether it was animated
    std::optional<OnboardingStep> onboardingStep;
    int onboardingOpens = 0;
    std::optional<std::string> highlight;
    int shortcutSetupOpens = 0;
    std::vector<Kind> forwarded;
    std::vector<bool> policies;
    bool tray = true; // each change of activation: regular or not
};

} // namespace rondelix::testsupport
