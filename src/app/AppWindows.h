#pragma once

#include "app/OnboardingStep.h"
#include "catalog/MainTab.h"

#include <functional>
#include <optional>
#include <string>

namespace rondelix {

// The program's windows as the coordinator drives them. The desktop
// implementation makes real windows; tests use a recording one.
class AppWindows {
  public:
    enum class Kind { main, onboarding, shortcutSetup, howItWorks };

    struct State {
        bool exists = false;
        bool visible = false;
        bool miniaturized = false;
        bool key = false;

        bool onScreen() const { return exists && (visible || miniaturized); }
    };

    virtual ~AppWindows() = default;

    virtual State state(Kind kind) const = 0;
    // One of the program's own windows has the focus.
    virtual bool programIsActive() const = 0;

    // Makes the main window, sized for the page, without showing it. It then
    // lives for the rest of the run; closing it only hides it.
    virtual void makeMain(MainTab tab) = 0;
    // Makes a new side window and shows it, key and in front.
    virtual void openOnboarding(OnboardingStep step) = 0;
    virtual void openShortcutSetup(const std::optional<std::string>& highlight) = 0;
    virtual void openHowItWorks() = 0;

    // Restores a miniaturized window, makes it key, orders it front and
    // activates the program.
    virtual void bringForward(Kind kind) = 0;
    // Hides the window without closing it.
    virtual void orderOut(Kind kind) = 0;
    // The program's own close: no user-close notice. A side window is gone
    // afterwards.
    virtual void close(Kind kind) = 0;

    // Set by the coordinator. The user closed the main window (it is hidden,
    // not gone), or closed the onboarding window (it is gone).
    std::function<void()> onMainWindowClosed;
    std::function<void()> onOnboardingClosedByUser;
};

} // namespace rondelix
