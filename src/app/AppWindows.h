#pragma once

#include "app/WindowSizes.h"
#include "catalog/MainTab.h"
#include "model/OnboardingStep.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace rondelix {

// The program's windows as the coordinator drives them. The desktop
// implementation makes real windows; tests use a recording one.
class AppWindows {
  public:
    enum class Kind { main, onboarding, shortcutSetup, howItWorks };
    // Every kind but the main window; a new side window joins this list and
    // the table of side windows.
    static constexpr std::array sideKinds{Kind::onboarding, Kind::shortcutSetup, Kind::howItWorks};

    struct State {
        bool exists = false;
        bool visible = false;
        bool miniaturized = false;
        bool key = false;
        bool fullScreen = false;

        bool onScreen() const { return exists && (visible || miniaturized); }
    };

    // What a side window opens with: the onboarding's step, the setup
    // window's highlighted Shortcut.
    struct SideRequest {
        OnboardingStep step = OnboardingStep::welcome;
        std::optional<std::string> highlight;
    };

    virtual ~AppWindows() = default;

    virtual State state(Kind kind) const = 0;
    // One of the program's own windows has the focus.
    virtual bool programIsActive() const = 0;
    // Whether the desktop shows the program's tray icon.
    virtual bool trayShown() const = 0;

    // Makes the main window with its content size and minimum, centred,
    // without showing it. It then lives for the rest of the run; closing it
    // only hides it.
    virtual void makeMain(ContentSize size, ContentSize minimum) = 0;
    // Gives the main window a new content size and minimum, keeping its
    // top-left corner where it is.
    virtual void fitMain(ContentSize size, ContentSize minimum, bool animated) = 0;
    // Makes a new side window of the kind and shows it, key and in front.
    virtual void openSide(Kind kind, const SideRequest& request) = 0;

    // Restores a miniaturized window, makes it key, orders it front and
    // activates the program.
    virtual void bringForward(Kind kind) = 0;
    // Hides the window without closing it.
    virtual void orderOut(Kind kind) = 0;
    // The program's own close. A side window is gone afterwards.
    virtual void close(Kind kind) = 0;

    // Whether the program presents itself as a regular application (listed
    // among the running ones) or as an accessory. Desktops without such a
    // distinction ignore it.
    virtual void setRegularActivation(bool regular) = 0;

    // Set by the coordinator. The user closed the main window (it is hidden,
    // not gone); the user finished resizing it; a side window closed, by the
    // user or by the program.
    std::function<void()> onMainWindowClosed;
    std::function<void(ContentSize)> onMainWindowResized;
    std::function<void(Kind, bool byUser)> onSideWindowClosed;
};

} // namespace rondelix
