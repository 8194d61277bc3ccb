#include "app/AppCoordinator.h"

#include "actions/SystemActionRoute.h"
#include "app/AppDelegate.h"
#include "app/DefaultsKeys.h"
#include "app/GuidesPorts.h"
#include "app/OnboardingState.h"
#include "app/SummonKeyNames.h"
#include "catalog/WheelActionTarget.h"
#include "editor/FarewellArchive.h"
#include "engine/HotkeyManager.h"
#include "engine/PermissionsCheck.h"
#include "guides/DemoBackup.h"
#include "guides/DemoChoreography.h"
#include "icons/IconStore.h"
#include "model/SystemColors.h"
#include "platform/Background.h"
#include "platform/CurrentDesktop.h"
#include "platform/HomeFolder.h"
#include "platform/InputAccess.h"
#include "platform/Sounds.h"
#include "platform/UserDefaults.h"

#include <algorithm>
#include <ctime>

namespace rondelix {

namespace keys = DefaultsKeys;
using Kind = AppWindows::Kind;

namespace {

constexpr const char* warningSymbol = "exclamationmark.triangle.fill";

} // namespace

// Construction ----------------------------------------------------------------

AppCoordinator::AppCoordinator(Platform platform, AppDelegate& delegate)
    : platform_(std::move(platform)), delegate_(delegate) {
    buildServices();
    installCallbacks();
    decideRescue();
    startEngineWhenAccessKnown();
    // Right after start rather than on the summon's path: the first question
    // for the frontmost application, which a summon asks while it arms, would
    // otherwise open and set up what it asks through.
    soon([](AppCoordinator& c) { c.platform_.workspace.prepareFrontmostApplication(); });
    if (holdsTooShortToWarmIn()) later(prewarmDelay, [](AppCoordinator& c) { c.prewarmSummon(); });
    registerObservers();
    configStore_->reconcileLaunchAtLogin();
    FarewellArchive::removeStaleTemporaries(configStore_->paths());
    removeOrphanedIcons();
    automations_->refresh();
    showFirstScreen();
    delegate_.coordinator = this;
}

AppCoordinator::~AppCoordinator() {
    // Deferred steps and callbacks that still reach us do nothing from here on.
    lifetime_.end();
    if (delegate_.coordinator == this) delegate_.coordinator = nullptr;
    if (activationObserver_) platform_.session.remove(*activationObserver_);
    for (const auto token : tapRecoveryObservers_)
        platform_.session.remove(token);
    platform_.windows.onMainWindowClosed = nullptr;
    platform_.windows.onMainWindowResized = nullptr;
    platform_.windows.onSideWindowClosed = nullptr;
}

void AppCoordinator::buildServices() {
    auto& p = platform_;
    devMenuUnlocked_ = p.defaults.get(keys::devMenuUnlocked);
    hud_ = std::make_unique<HUD>(p.queue, p.screens, p.makeHUDSurface);
    configStore_ = std::make_unique<ConfigStore>(ConfigStore::Platform{
        p.queue, p.log, p.home, p.watcher, p.loginItems, p.configSaves, p.configWriterLockProblem});
    wheelState_ = std::make_unique<WheelState>();

    const std::filesystem::path shipped = shippedAutomationsFolder();
    auto locations = MacroExecutor::Locations::standard(p.home);
    locations.shippedAutomationsFolder = shipped.string();
    macroExecutor_ = std::make_unique<MacroExecutor>(
        MacroExecutor::Platform{p.queue, p.pasteboard, p.workspace, p.processes, p.taps, p.sounds, p.log},
        std::move(locations));

    auto behavior = [store = configStore_.get()] { return store->config().behavior; };
    overlayController_ = std::make_unique<OverlayController>(
        *wheelState_, behavior,
        OverlayController::Services{p.queue, p.screens, p.accessibility, p.escapeMonitor},
        p.makeOverlaySurface);
    feedback_ = std::make_unique<FeedbackController>(behavior, p.sounds, p.queue);

    PermissionsCheck::primeInputMonitoringRegistration(p.permissions, p.log);
    permissions_ = std::make_unique<PermissionsCheck>(p.permissions, p.log);
    permissions_->refresh();

    hotkeyManager_ = std::make_unique<HotkeyManager>(
        *configStore_, *wheelState_, *overlayController_, *macroExecutor_, *feedback_,
        HotkeyManager::Platform{p.queue, p.log, p.taps, p.screens, p.workspace,
                                [&windows = p.windows] { return windows.programIsActive(); }});

    demo_ = std::make_unique<DemoChoreography>(DemoChoreography::Services{
        *configStore_, *wheelState_, *overlayController_, *feedback_, *macroExecutor_, p.queue, p.screens,
        p.notifications, p.defaults, p.log, DemoBackup::fileIn(p.home.configFolder()),
        [this, alive = lifetime_.watch()] { return alive && devMenuUnlocked_; }});
    automations_ = std::make_unique<InstalledAutomations>(
        configStore_->paths().automations, InstalledAutomations::Services{p.background, p.queue, p.workspace},
        shipped);
}

void AppCoordinator::installCallbacks() {
    const auto with = [this](auto body) {
        return [this, alive = lifetime_.watch(), body](auto&&... args) {
            if (alive) body(*this, std::forward<decltype(args)>(args)...);
        };
    };

    overlayController_->onTestEscape = with([](AppCoordinator& c) { c.deactivateTestWheel(); });
    hotkeyManager_->callbacks.isSummonPaused = [this, alive = lifetime_.watch()] { return alive && paused_; };
    // Out of the key's own path: the warm-up runs while the keys are held.
    hotkeyManager_->callbacks.onArming =
        with([](AppCoordinator& c) { c.soon([](AppCoordinator& c) { c.prewarmSummon(); }); });
    hotkeyManager_->callbacks.onSummonBlockedByPermissions = with([](AppCoordinator& c, bool beep) {
        c.permissions_->refresh();
        if (beep) c.beepSummonBlocked();
    });
    hotkeyManager_->callbacks.onSecureInputBlockingChanged = with([](AppCoordinator& c, bool blocking) {
        c.assign(c.secureInputBlocking_, blocking, Property::secureInputBlocking);
    });
    macroExecutor_->onOpenSettings = with(
        [](AppCoordinator& c, const std::optional<std::string>& target) { c.handleWheelAction(target); });
    macroExecutor_->onShortcutFailed =
        with([](AppCoordinator& c, const std::string& name) { c.handleShortcutFailed(name); });
    macroExecutor_->onActionFailed = with([](AppCoordinator& c, const std::string& message) {
        c.hud_->flash(message, warningSymbol, hexString(SystemColors::orange));
    });
    configStore_->onBrokenExternalChange = with([](AppCoordinator& c) {
        c.hud_->flash(std::string(ConfigStore::brokenFileSentence), warningSymbol,
                      hexString(SystemColors::orange));
    });
    hotkeyManager_->callbacks.onOpenSliceEditor =
        with([](AppCoordinator& c, const std::string& wheelId, int position) {
            const auto onboarding = c.platform_.windows.state(Kind::onboarding);
            if (onboarding.exists && onboarding.visible) return;
            c.openSliceEditor(wheelId, position);
        });
    hotkeyManager_->callbacks.editorPreviewWheelId =
        [this, alive = lifetime_.watch()]() -> std::optional<std::string> {
        return alive ? editorPreviewWheelId() : std::nullopt;
    };
    hotkeyManager_->callbacks.onListenConfirmed =
        with([](AppCoordinator& c) { c.permissions_->confirmInputMonitoring(); });
    hotkeyManager_->callbacks.onArmedConfirmed =
        with([](AppCoordinator& c) { c.permissions_->confirmAccessibility(); });

    platform_.windows.onMainWindowClosed = with([](AppCoordinator& c) {
        c.configStore_->clearUndoHistory();
        c.soon([](AppCoordinator& later) { later.updateActivationPolicy(); });
    });
    platform_.windows.onMainWindowResized = with([](AppCoordinator& c, ContentSize size) {
        saveWindowSize(c.platform_.defaults, size, pageGroup(c.mainTab_));
    });
    platform_.windows.onSideWindowClosed =
        with([](AppCoordinator& c, Kind kind, bool byUser) { c.sideWindowClosed(kind, byUser); });
}

void AppCoordinator::decideRescue() {
    auto& defaults = platform_.defaults;
    OnboardingState::migrateLegacyCompletion(defaults);
    if (defaults.get(keys::hasCompletedOnboarding)) {
        rescueNeeded_ = !defaults.get(keys::onboardingSkipped) && !permissions_->inputMonitoringTrusted() &&
                        !permissions_->accessibilityTrusted();
    } else {
        reenteredFirstRun_ = defaults.get(keys::onboardingRescueReentered);
    }
}

void AppCoordinator::startEngineWhenAccessKnown() {
    if (platform_.inputAccess.isDetermined()) {
        hotkeyManager_->start();
        return;
    }
    // Left undetermined after the retry, finishing the onboarding or the
    // rescue starts the engine.
    later(engineStartRetryDelay, [](AppCoordinator& c) {
        c.permissions_->refresh();
        c.startEngineIfAccessKnown();
    });
}

void AppCoordinator::startEngineIfAccessKnown() {
    if (platform_.inputAccess.isDetermined()) hotkeyManager_->start();
}

void AppCoordinator::registerObservers() {
    using Notice = platform::SessionEvents::Notice;
    activationObserver_ = platform_.session.observeActivation([this, alive = lifetime_.watch()] {
        if (alive) handleActivation();
    });
    for (const Notice notice : {Notice::didWake, Notice::screensDidWake, Notice::sessionDidBecomeActive,
                                Notice::screenIsUnlocked, Notice::screenSaverDidStop}) {
        tapRecoveryObservers_.push_back(platform_.session.observe(notice, [this, alive = lifetime_.watch()] {
            if (alive) handleTapRecovery();
        }));
    }
}

void AppCoordinator::removeOrphanedIcons() {
    // A configuration from the backup or the defaults, or one this build may
    // not write, may not name every picture the user still has.
    if (!configStore_->loadedPrimaryCleanly() || configStore_->isReadOnly()) return;
    platform_.background.run([folder = IconStore::directoryIn(platform_.home.configFolder()),
                              keeping = IconStore::referencedFilenames(configStore_->config())] {
        IconStore::removeOrphans(folder, keeping, static_cast<std::int64_t>(std::time(nullptr)));
    });
}

void AppCoordinator::showFirstScreen() {
    if (!platform_.defaults.get(keys::hasCompletedOnboarding)) {
        soon([](AppCoordinator& c) { c.showOnboarding(OnboardingState::resumeStep(c.platform_.defaults)); });
    } else if (rescueNeeded_) {
        later(rescueDelay, [](AppCoordinator& c) { c.runRescue(); });
    }
}

void AppCoordinator::handleActivation() {
    permissions_->refresh();
    if (platform_.inputAccess.isDetermined() && !hotkeyManager_->confirmedListenGlobal())
        hotkeyManager_->ensureListenTap();
    automations_->refresh();
}

void AppCoordinator::handleTapRecovery() {
    permissions_->refresh();
    if (platform_.inputAccess.isDetermined()) hotkeyManager_->forceRebuildListenTap(true);
}

void AppCoordinator::runRescue() {
    permissions_->refresh();
    if (!permissions_->inputMonitoringTrusted() && !permissions_->accessibilityTrusted()) {
        if (onboardingShownThisSession_) return;
        reenteredFirstRun_ = true;
        platform::UserDefaults::Batch batch(platform_.defaults);
        platform_.defaults.set(keys::onboardingRescueReentered, true);
        platform_.defaults.set(keys::hasCompletedOnboarding, false);
        platform_.defaults.set(keys::onboardingResumeStep, 1);
        showOnboarding(OnboardingStep::permissions);
        return;
    }
    startEngineIfAccessKnown();
}

// Deferred work ---------------------------------------------------------------

void AppCoordinator::later(double seconds, std::function<void(AppCoordinator&)> step) {
    platform_.queue.after(seconds, [this, alive = lifetime_.watch(), step = std::move(step)] {
        if (alive) step(*this);
    });
}

void AppCoordinator::soon(std::function<void(AppCoordinator&)> step) {
    platform_.queue.post([this, alive = lifetime_.watch(), step = std::move(step)] {
        if (alive) step(*this);
    });
}

template <typename T> void AppCoordinator::assign(T& field, const T& value, Property property) {
    if (field == value) return;
    field = value;
    changed.emit(property);
}

ConfigTransferServices AppCoordinator::transferServices() {
    return {*configStore_,
            platform_.dialogs,
            platform_.log,
            platform_.workspace,
            platform_.home,
            platform_.images,
            [this, alive = lifetime_.watch()](const std::string& id) {
                return systemActionUnavailableReason(
                    id, platform::currentDesktop(), [this, alive](std::string_view name) {
                        return alive && automations_->installedAsShipped(name);
                    });
            },
            platform_.pictureWork};
}

void AppCoordinator::setMainTab(MainTab tab) {
    assign(mainTab_, tab, Property::mainTab);
}

// The summon path -------------------------------------------------------------

// The first summon would otherwise do what no later one does: build and show
// the overlay's window for the first time (its buffers, fonts and glyphs),
// and recognise the application in front for the first time (which reads the
// installed applications' entries). Both are done while the summon keys are
// held, before the hold becomes a summon, so nothing of them is kept by a
// program that is never summoned.
void AppCoordinator::prewarmSummon() {
    if (overlayController_->panel()) return;
    overlayController_->prewarm();
    // Recognising the frontmost application reads every installed entry the
    // first time: read to the side, so the keys held meanwhile stay smooth.
    if (configStore_->config().behavior.detectApp)
        platform_.workspace.readApplicationsAhead(platform_.background, platform_.queue);
}

bool AppCoordinator::holdsTooShortToWarmIn() const {
    return std::ranges::any_of(configStore_->config().bindings, [](const SummonBinding& binding) {
        return binding.enabled && binding.holdThresholdMs < shortestWarmingHoldMs;
    });
}

void AppCoordinator::beepSummonBlocked() {
    const double now = platform_.queue.now();
    if (lastSummonBlockedBeep_ && now - *lastSummonBlockedBeep_ < blockedBeepInterval) return;
    lastSummonBlockedBeep_ = now;
    platform_.sounds.beep();
}

void AppCoordinator::toggleTestWheel() {
    assign(testWheelActive_, !testWheelActive_, Property::testWheelActive);
    overlayController_->setTestMode(testWheelActive_);
}

void AppCoordinator::deactivateTestWheel() {
    if (!testWheelActive_) return;
    assign(testWheelActive_, false, Property::testWheelActive);
    overlayController_->setTestModeActive(false);
    overlayController_->removeTestEscMonitor();
    overlayController_->hide();
}

void AppCoordinator::openSliceEditor(const std::string& wheelId, int position) {
    soon([wheelId, position](AppCoordinator& c) {
        ++c.editorNonce_;
        c.assign(c.editorTarget_,
                 std::optional<EditorTarget>(EditorTarget{wheelId, position, c.editorNonce_}),
                 Property::editorTarget);
        c.showMain(MainTab::wheels);
    });
}

void AppCoordinator::clearEditorTarget() {
    assign(editorTarget_, std::optional<EditorTarget>(), Property::editorTarget);
}

std::optional<std::string> AppCoordinator::editorPreviewWheelId() const {
    if (mainTab_ != MainTab::wheels || !lastEditedWheelId) return std::nullopt;
    const auto main = platform_.windows.state(Kind::main);
    if (!main.exists || !main.key) return std::nullopt;
    if (!configStore_->wheel(*lastEditedWheelId)) return std::nullopt;
    return lastEditedWheelId;
}

// Windows ---------------------------------------------------------------------

void AppCoordinator::showMain(MainTab tab) {
    // The page is set first so that a new window is sized for it; an existing
    // one is refitted by the main window's reaction to the page change.
    setMainTab(tab);
    if (!platform_.windows.state(Kind::main).exists) {
        const PageGroup group = pageGroup(mainTab_);
        platform_.windows.makeMain(mainContentSize(platform_.defaults, group), minimumContentSize(group));
    }
    platform_.windows.bringForward(Kind::main);
    updateActivationPolicy();
}

void AppCoordinator::toggleMain(MainTab tab) {
    const auto main = platform_.windows.state(Kind::main);
    if (main.exists && main.visible) {
        if (main.key) {
            platform_.windows.orderOut(Kind::main);
            configStore_->clearUndoHistory();
            updateActivationPolicy();
        } else {
            platform_.windows.bringForward(Kind::main);
        }
        return;
    }
    showMain(tab);
}

bool AppCoordinator::isMainWindowOnScreen() const {
    return platform_.windows.state(Kind::main).onScreen();
}

void AppCoordinator::resizeMainWindow(MainTab tab, bool animated) {
    const auto main = platform_.windows.state(Kind::main);
    if (!main.exists || main.fullScreen || main.miniaturized) return;
    const PageGroup group = pageGroup(tab);
    platform_.windows.fitMain(mainContentSize(platform_.defaults, group), minimumContentSize(group),
                              animated);
}

void AppCoordinator::resetWindowSizes() {
    forgetWindowSizes(platform_.defaults);
    resizeMainWindow(mainTab_, true);
}

void AppCoordinator::updateActivationPolicy() {
    const auto onScreen = [this](Kind kind) { return platform_.windows.state(kind).onScreen(); };
    const bool regular = onScreen(Kind::main) ||
                         std::any_of(AppWindows::sideKinds.begin(), AppWindows::sideKinds.end(), onScreen);
    if (regular == regularActivation_) return;
    regularActivation_ = regular;
    platform_.windows.setRegularActivation(regular);
}

void AppCoordinator::showOnboarding(OnboardingStep step) {
    onboardingShownThisSession_ = true;
    showSide(Kind::onboarding, {step, std::nullopt});
}

void AppCoordinator::showShortcutSetup(const std::optional<std::string>& highlight) {
    automations_->refresh();
    showSide(Kind::shortcutSetup, {OnboardingStep::welcome, highlight});
}

void AppCoordinator::showHowItWorks() {
    showSide(Kind::howItWorks, {});
}

void AppCoordinator::showSide(Kind kind, const AppWindows::SideRequest& request) {
    // The onboarding always starts afresh at its step; replacing the old
    // window is the program's own close and records no dismissal. The others
    // keep their state and only come forward.
    const bool opensAfresh = kind == Kind::onboarding;
    auto& windows = platform_.windows;
    if (windows.state(kind).exists && !opensAfresh) {
        windows.bringForward(kind);
    } else {
        if (windows.state(kind).exists) windows.close(kind);
        windows.openSide(kind, request);
        changed.emit(Property::sideWindows);
    }
    updateActivationPolicy();
}

bool AppCoordinator::isSideWindowOpen(Kind kind) const {
    return platform_.windows.state(kind).exists;
}

void AppCoordinator::sideWindowClosed(Kind kind, bool byUser) {
    changed.emit(Property::sideWindows);
    if (kind == Kind::onboarding && byUser) recordOnboardingDismissal();
    soon([](AppCoordinator& c) { c.updateActivationPolicy(); });
}

void AppCoordinator::nudgeListenTap() {
    if (platform_.inputAccess.isDetermined()) hotkeyManager_->ensureListenTap();
}

// Program targets, pause and reopen -------------------------------------------

void AppCoordinator::handleWheelAction(const std::optional<std::string>& target) {
    soon([target](AppCoordinator& c) { c.performWheelAction(target); });
}

void AppCoordinator::performWheelAction(const std::optional<std::string>& target) {
    if (!target) {
        toggleMain(MainTab::wheels);
        return;
    }
    const auto row = WheelActionTarget::find(target);
    if (!row) {
        platform_.sounds.beep();
        return;
    }
    if (const auto* page = std::get_if<MainTab>(&row->opens)) {
        const auto main = platform_.windows.state(Kind::main);
        if (main.exists && main.key && mainTab_ == *page)
            toggleMain(*page);
        else
            showMain(*page);
        return;
    }
    using Quick = WheelActionTarget::QuickSetting;
    switch (std::get<Quick>(row->opens)) {
    case Quick::pauseSummon:
        togglePause(true);
        break;
    case Quick::toggleLiquidGlass:
        flipBehavior(&Behavior::liquidGlassEnabled);
        break;
    case Quick::toggleSound:
        flipBehavior(&Behavior::soundEnabled);
        break;
    case Quick::toggleDetectApp:
        flipBehavior(&Behavior::detectApp);
        break;
    case Quick::checkForUpdates:
        // The program does not update itself (the system's package manager
        // does): a slice that holds the check says so as any slice that
        // cannot act here does.
        hud_->flash(std::string(MacroExecutor::unavailableSentence), warningSymbol,
                    hexString(SystemColors::orange));
        break;
    }
}

void AppCoordinator::flipBehavior(bool Behavior::*setting) {
    configStore_->mutate(
        [setting](Config& config) { config.behavior.*setting = !(config.behavior.*setting); });
}

void AppCoordinator::togglePause(bool showHUD) {
    assign(paused_, !paused_, Property::paused);
    if (paused_) overlayController_->hide();
    if (showHUD)
        hud_->flash(paused_ ? "Paused" : "Resumed", paused_ ? "pause.circle.fill" : "play.circle.fill");
}

void AppCoordinator::handleReopen() {
    // The onboarding comes before the main window, the main window before
    // the other side windows.
    const auto forward = [this](Kind kind) {
        if (!platform_.windows.state(kind).onScreen()) return false;
        platform_.windows.bringForward(kind);
        return true;
    };
    if (forward(Kind::onboarding) || forward(Kind::main)) return;
    if (std::any_of(AppWindows::sideKinds.begin(), AppWindows::sideKinds.end(), forward)) return;
    if (platform_.defaults.get(keys::hasCompletedOnboarding))
        showMain(MainTab::wheels);
    else
        showOnboarding(OnboardingState::resumeStep(platform_.defaults));
}

// Onboarding, required Shortcuts, guide texts, developer page -----------------

void AppCoordinator::finishOnboarding(bool skipped) {
    auto& defaults = platform_.defaults;
    {
        platform::UserDefaults::Batch batch(defaults);
        const bool wasCompleted = defaults.get(keys::hasCompletedOnboarding);
        defaults.set(keys::hasCompletedOnboarding, true);
        if (!(wasCompleted && skipped)) defaults.set(keys::onboardingSkipped, skipped);
        defaults.set(keys::onboardingResumeStep, 0);
        defaults.set(keys::onboardingRescueReentered, false);
    }
    startEngineIfAccessKnown();
    if (platform_.windows.state(Kind::onboarding).exists) platform_.windows.close(Kind::onboarding);
    // Without a tray no menu leads back into the program: the screen is not
    // left empty, and the main window keeps the page it shows.
    if (!platform_.windows.trayShown()) showMain(isMainWindowOnScreen() ? mainTab_ : MainTab::wheels);
}

void AppCoordinator::resetOnboarding() {
    {
        platform::UserDefaults::Batch batch(platform_.defaults);
        platform_.defaults.set(keys::hasCompletedOnboarding, false);
        platform_.defaults.set(keys::onboardingSkipped, false);
        platform_.defaults.set(keys::onboardingResumeStep, 0);
        platform_.defaults.set(keys::onboardingRescueReentered, false);
    }
    reenteredFirstRun_ = false;
    showOnboarding(OnboardingStep::welcome);
}

void AppCoordinator::recordOnboardingDismissal() {
    permissions_->refresh();
    auto& defaults = platform_.defaults;
    if (!reenteredFirstRun_ || defaults.get(keys::hasCompletedOnboarding)) return;
    if (permissions_->inputMonitoringTrusted() || permissions_->accessibilityTrusted()) return;
    // A rescue closed with nothing granted: count it done, so it is not offered again.
    platform::UserDefaults::Batch batch(defaults);
    defaults.set(keys::hasCompletedOnboarding, true);
    defaults.set(keys::onboardingSkipped, true);
    defaults.set(keys::onboardingRescueReentered, false);
}

std::vector<ShortcutRequirement> AppCoordinator::missingRequiredShortcuts() const {
    std::vector<ShortcutRequirement> missing;
    if (!automations_->listed()) return missing;
    std::set<std::string> used;
    for (const auto& wheel : configStore_->config().wheels)
        for (const auto& slice : wheel.slices)
            if (const auto* action = slice.action.as<MacroAction::SystemAction>()) used.insert(action->id);
    for (const auto& requirement : ShortcutCatalog::requirements()) {
        if (used.count(requirement.id) && !automations_->contains(requirement))
            missing.push_back(requirement);
    }
    return missing;
}

void AppCoordinator::handleShortcutFailed(const std::string& name) {
    // The HUD has already said what went wrong; a known automation that is
    // not installed is offered for setting up as well, once the bubble has
    // gone: the window opens in the middle of the screen as the bubble does,
    // and the bubble would lie over the very card it points to.
    const auto requirement = ShortcutCatalog::requirement(name);
    if (!requirement) return;
    const double bubbleGone = platform_.queue.now() + HUD::showSeconds + HUD::fadeOutSeconds;
    automations_->refresh([this, alive = lifetime_.watch(), name, requirement = *requirement, bubbleGone] {
        if (alive && !automations_->contains(requirement))
            later(std::max(0.0, bubbleGone - platform_.queue.now()),
                  [name](AppCoordinator& c) { c.showShortcutSetup(name); });
    });
}

std::vector<std::string> AppCoordinator::summonKeyNames() const {
    return rondelix::summonKeyNames(configStore_->config().bindings, platform_.keyboardLayout);
}

std::string AppCoordinator::summonKeysPhrase() const {
    return rondelix::summonKeysPhrase(summonKeyNames());
}

void AppCoordinator::unlockDevMenu() {
    if (devMenuUnlocked_) return;
    assign(devMenuUnlocked_, true, Property::devMenuUnlocked);
    platform_.defaults.set(keys::devMenuUnlocked, true);
}

void AppCoordinator::relockDevMenu() {
    if (mainTab_ == MainTab::development) setMainTab(MainTab::about);
    assign(devMenuUnlocked_, false, Property::devMenuUnlocked);
    platform_.defaults.set(keys::devMenuUnlocked, false);
}

void AppCoordinator::applicationWillTerminate() {
    // A demo still running gives the user's wheels back before the program ends.
    demo_->cancel();
    macroExecutor_->applicationWillTerminate();
}

} // namespace rondelix
