#pragma once

#include "actions/InstalledAutomations.h"
#include "actions/MacroExecutor.h"
#include "app/AppWindows.h"
#include "catalog/MainTab.h"
#include "catalog/ShortcutCatalog.h"
#include "model/OnboardingStep.h"
#include "model/WheelState.h"
#include "overlay/FeedbackController.h"
#include "overlay/HUD.h"
#include "overlay/OverlayController.h"
#include "platform/SessionEvents.h"
#include "store/ConfigStore.h"
#include "store/ConfigTransferServices.h"
#include "util/LifetimeGuard.h"
#include "util/Signal.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rondelix {

namespace platform {
class Accessibility;
class Background;
class Dialogs;
class EventTaps;
class FileWatcher;
class HomeFolder;
class Images;
class InputAccess;
class KeyboardLayout;
class LoginItems;
class Log;
class MainQueue;
class Notifications;
class Pasteboard;
class Permissions;
class Processes;
class Screens;
class Sounds;
class UserDefaults;
class WaitedPictureWork;
class Workspace;
} // namespace platform

class AppDelegate;
class DemoChoreography;
class EscapeMonitor;
class HotkeyManager;
class PermissionsCheck;

// The owner of every long-lived service and of the program's windows. It
// builds the services in a fixed order, wires their callbacks (each holding
// the coordinator weakly), starts the summon engine, and answers the menus,
// the windows and the program targets of fired slices. Main thread only.
class AppCoordinator {
  public:
    // Everything the program needs from the system; all must outlive the coordinator.
    struct Platform {
        platform::MainQueue& queue;
        platform::Log& log;
        platform::UserDefaults& defaults;
        const platform::HomeFolder& home;
        platform::FileWatcher& watcher;
        platform::LoginItems& loginItems;
        platform::Pasteboard& pasteboard;
        platform::Workspace& workspace;
        platform::Processes& processes;
        platform::EventTaps& taps;
        platform::Sounds& sounds;
        platform::Screens& screens;
        platform::Accessibility& accessibility;
        platform::Permissions& permissions;
        platform::InputAccess& inputAccess;
        platform::SessionEvents& session;
        platform::Notifications& notifications;
        platform::Background& background;
        platform::Dialogs& dialogs;
        const platform::Images& images;
        const platform::KeyboardLayout& keyboardLayout;
        EscapeMonitor& escapeMonitor;
        AppWindows& windows;
        OverlayController::SurfaceFactory makeOverlaySurface;
        HUD::SurfaceFactory makeHUDSurface;
        // A folder of the session that only the user can enter, for files
        // handed to other programs (the diagnostics); none when there is none.
        std::optional<std::filesystem::path> privateRuntimeFolder;
        // One thread of its own for writing the configuration, so that a
        // large one never holds up the window; without it each change is
        // written before it returns.
        platform::Background* configSaves = nullptr;
        // Where carried pictures are drawn while the user waits for an
        // import; without it they are drawn before the import returns.
        platform::WaitedPictureWork* pictureWork = nullptr;
        // Why this process is not the configuration's one writer, which
        // leaves it read-only; none when it is.
        std::optional<std::string> configWriterLockProblem;
    };

    // The slice the wheel editor is to select next; the nonce makes a repeated
    // request for the same slice a new value.
    struct EditorTarget {
        std::string wheelId;
        int position = 0;
        int nonce = 0;
        friend bool operator==(const EditorTarget&, const EditorTarget&) = default;
    };

    enum class Property {
        mainTab,
        paused,
        testWheelActive,
        secureInputBlocking,
        devMenuUnlocked,
        editorTarget,
        // A side window opened or closed.
        sideWindows,
    };

    static constexpr double engineStartRetryDelay = 2.0;
    static constexpr double prewarmDelay = 0.6;
    // The summon's warm-up takes about 40 ms; a binding held for less than
    // twice that before it summons has the warm-up done at start instead.
    static constexpr int shortestWarmingHoldMs = 80;
    static constexpr double rescueDelay = 2.0;
    static constexpr double blockedBeepInterval = 2.0;

    // Builds and starts everything; `delegate` learns of the coordinator last.
    AppCoordinator(Platform platform, AppDelegate& delegate);
    ~AppCoordinator();
    AppCoordinator(const AppCoordinator&) = delete;
    AppCoordinator& operator=(const AppCoordinator&) = delete;

    // Services, in the order they are built.
    HUD& hud() { return *hud_; }
    ConfigStore& configStore() { return *configStore_; }
    WheelState& wheelState() { return *wheelState_; }
    MacroExecutor& macroExecutor() { return *macroExecutor_; }
    OverlayController& overlayController() { return *overlayController_; }
    FeedbackController& feedback() { return *feedback_; }
    PermissionsCheck& permissions() { return *permissions_; }
    HotkeyManager& hotkeyManager() { return *hotkeyManager_; }
    DemoChoreography& demo() { return *demo_; }
    InstalledAutomations& automations() { return *automations_; }

    // The system as the coordinator was given it, for the windows it opens.
    const Platform& platform() const { return platform_; }
    // What moving wheels and configurations in and out of files needs.
    ConfigTransferServices transferServices();

    // Observable state; `changed` tells of real changes only.
    Signal<Property> changed;
    MainTab mainTab() const { return mainTab_; }
    void setMainTab(MainTab tab);
    bool paused() const { return paused_; }
    bool testWheelActive() const { return testWheelActive_; }
    bool secureInputBlocking() const { return secureInputBlocking_; }
    bool devMenuUnlocked() const { return devMenuUnlocked_; }
    const std::optional<EditorTarget>& editorTarget() const { return editorTarget_; }

    // Plain state the views share.
    bool suppressDeleteWheelConfirm = false;
    bool isCapturingKeystroke = false;
    std::optional<std::string> lastEditedWheelId;
    std::function<void()> cancelActiveBindingRecorder;
    bool reenteredFirstRun() const { return reenteredFirstRun_; }
    bool onboardingShownThisSession() const { return onboardingShownThisSession_; }

    // The summon path.
    void prewarmSummon();
    bool holdsTooShortToWarmIn() const;
    void beepSummonBlocked();
    void toggleTestWheel();
    void deactivateTestWheel();
    void openSliceEditor(const std::string& wheelId, int position);
    // The editor took the request.
    void clearEditorTarget();
    // The id of the wheel a summon previews while the editor shows it, or none.
    std::optional<std::string> editorPreviewWheelId() const;

    // Windows.
    void showMain(MainTab tab);
    void toggleMain(MainTab tab);
    bool isMainWindowOnScreen() const;
    // Fits the main window to the group of the page; nothing while it is in
    // full screen or miniaturized.
    void resizeMainWindow(MainTab tab, bool animated);
    // Forgets both remembered sizes and fits the window again.
    void resetWindowSizes();
    void showOnboarding(OnboardingStep step);
    void showShortcutSetup(const std::optional<std::string>& highlight);
    void showHowItWorks();
    // Opens a side window, or brings the open one forward; the onboarding
    // always opens afresh.
    void showSide(AppWindows::Kind kind, const AppWindows::SideRequest& request);
    bool isSideWindowOpen(AppWindows::Kind kind) const;
    // Regular while any of the program's windows is visible or miniaturized.
    void updateActivationPolicy();
    bool regularActivation() const { return regularActivation_; }
    // Reinstalls the listen tap when the system has answered on listening and
    // no real event has reached the tap yet.
    void nudgeListenTap();

    // Program targets, pause and reopen.
    void handleWheelAction(const std::optional<std::string>& target);
    void togglePause(bool showHUD);
    void handleReopen();

    // Onboarding, required Shortcuts, guide texts and the developer page.
    void finishOnboarding(bool skipped);
    void resetOnboarding();
    void recordOnboardingDismissal();
    // The required automations the wheels use and the folder lacks; none
    // before the first listing.
    std::vector<ShortcutRequirement> missingRequiredShortcuts() const;
    void handleShortcutFailed(const std::string& name);
    std::vector<std::string> summonKeyNames() const;
    std::string summonKeysPhrase() const;
    void unlockDevMenu();
    void relockDevMenu();

    // The program is quitting.
    void applicationWillTerminate();

  private:
    void buildServices();
    void installCallbacks();
    void decideRescue();
    void startEngineWhenAccessKnown();
    void registerObservers();
    void removeOrphanedIcons();
    void showFirstScreen();
    void handleActivation();
    void handleTapRecovery();
    void runRescue();
    void startEngineIfAccessKnown();
    void performWheelAction(const std::optional<std::string>& target);
    void flipBehavior(bool Behavior::*setting);
    void sideWindowClosed(AppWindows::Kind kind, bool byUser);

    template <typename T> void assign(T& field, const T& value, Property property);
    // Runs the step later on the main queue unless the coordinator is gone by then.
    void later(double seconds, std::function<void(AppCoordinator&)> step);
    void soon(std::function<void(AppCoordinator&)> step);

    Platform platform_;
    AppDelegate& delegate_;
    LifetimeGuard lifetime_;

    std::unique_ptr<HUD> hud_;
    std::unique_ptr<ConfigStore> configStore_;
    std::unique_ptr<WheelState> wheelState_;
    std::unique_ptr<MacroExecutor> macroExecutor_;
    std::unique_ptr<OverlayController> overlayController_;
    std::unique_ptr<FeedbackController> feedback_;
    std::unique_ptr<PermissionsCheck> permissions_;
    std::unique_ptr<HotkeyManager> hotkeyManager_;
    std::unique_ptr<DemoChoreography> demo_;
    std::unique_ptr<InstalledAutomations> automations_;

    MainTab mainTab_ = MainTab::wheels;
    bool paused_ = false;
    bool testWheelActive_ = false;
    bool secureInputBlocking_ = false;
    bool devMenuUnlocked_ = false;
    bool regularActivation_ = false;
    std::optional<EditorTarget> editorTarget_;
    int editorNonce_ = 0;

    bool reenteredFirstRun_ = false;
    bool rescueNeeded_ = false;
    bool onboardingShownThisSession_ = false;
    std::optional<double> lastSummonBlockedBeep_;

    std::optional<platform::SessionEvents::Token> activationObserver_;
    std::vector<platform::SessionEvents::Token> tapRecoveryObservers_;
};

} // namespace rondelix
