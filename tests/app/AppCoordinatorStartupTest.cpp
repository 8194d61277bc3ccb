#include "engine/HotkeyManager.h"
#include "engine/PermissionsCheck.h"
#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "support/CoordinatorRig.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

namespace keys = DefaultsKeys;
using testsupport::CoordinatorRig;
using Kind = AppWindows::Kind;
using Access = platform::InputAccess::State;
// How far construction has come, read off the simulated platform.
struct Progress {
    bool storeLoaded = false;
    bool engineListening = false;
    bool observersRegistered = false;
    bool handedToDelegate = false;
    friend bool operator==(const Progress&, const Progress&) = default;
};

Progress progressOf(const CoordinatorRig& rig) {
    return {rig.watcher.armCount() == 1, rig.taps.tapCount(platform::TapMode::listenOnly) > 0,
            rig.session.observerCount() > 0, rig.delegate.coordinator != nullptr};
}

// Pass-through pieces that note the progress when construction reaches them.
struct PrimingPermissions final : platform::Permissions {
    explicit PrimingPermissions(CoordinatorRig& rig) : rig(rig) {}
    bool isAccessibilityTrusted() override { return rig.permissions.isAccessibilityTrusted(); }
    bool canListenToInput() override { return rig.permissions.canListenToInput(); }
    bool requestInputAccess() override { return false; }
    bool requestListenAccess() override { return false; }
    bool primeListenRegistration() override {
        atPrime = progressOf(rig);
        return rig.permissions.primeListenRegistration();
    }
    void openInputMonitoringSettings() override {}
    void openAccessibilitySettings() override {}
    void bringPermissionPromptToFront() override {}
    CoordinatorRig& rig;
    Progress atPrime;
};

struct ListingBackground final : platform::Background {
    explicit ListingBackground(CoordinatorRig& rig) : rig(rig) {}
    void run(std::function<void()> work) override {
        atEachRun.push_back(progressOf(rig));
        rig.background.run(std::move(work));
    }
    CoordinatorRig& rig;
    std::vector<Progress> atEachRun;
};

TEST(AppCoordinatorStartup, BuildsAndStartsTheServicesInOrderAndHandsItselfToTheDelegateLast) {
    CoordinatorRig rig;
    rig.writeConfig(DefaultConfig::factoryConfig());
    PrimingPermissions permissions(rig);
    ListingBackground background(rig);
    const AppCoordinator::Platform p = rig.platform();
    rig.open({p.queue,          p.log,           p.defaults,    p.home,
              p.watcher,        p.loginItems,    p.pasteboard,  p.workspace,
              p.processes,      p.taps,          p.sounds,      p.screens,
              p.accessibility,  permissions,     p.inputAccess, p.session,
              p.notifications,  background,      p.dialogs,     p.images,
              p.keyboardLayout, p.escapeMonitor, p.windows,     p.makeOverlaySurface,
              p.makeHUDSurface});

    // The store comes before the permission check, the engine starts after
    // it, the observers follow, and the delegate learns of the coordinator
    // after the icon clean-up and the Shortcut listing were handed to the
    // background.
    EXPECT_EQ(permissions.atPrime, (Progress{true, false, false, false}));
    EXPECT_EQ(background.atEachRun, std::vector<Progress>(2, Progress{true, true, true, false}));
    EXPECT_EQ(progressOf(rig), (Progress{true, true, true, true}));
    EXPECT_EQ(rig.c().wheelState().activeWheelId(), "default");
    EXPECT_EQ(rig.session.observedNotices(),
              (std::vector<platform::SessionEvents::Notice>{
                  platform::SessionEvents::Notice::didWake, platform::SessionEvents::Notice::screensDidWake,
                  platform::SessionEvents::Notice::sessionDidBecomeActive,
                  platform::SessionEvents::Notice::screenIsUnlocked,
                  platform::SessionEvents::Notice::screenSaverDidStop}));
}

TEST(AppCoordinatorStartup, IconsAreCleanedUpOnlyAfterACleanLoadOfAWritableConfiguration) {
    const auto cleanUps = [](const std::function<void(CoordinatorRig&)>& layOut) {
        CoordinatorRig rig;
        layOut(rig);
        rig.open();
        return rig.background.pendingCount() - 1; // the Shortcut listing
    };
    Config newer = DefaultConfig::factoryConfig();
    newer.version = Config::currentVersion + 1;
    EXPECT_EQ(cleanUps([](CoordinatorRig& r) { r.writeConfig(DefaultConfig::factoryConfig()); }), 1u);
    EXPECT_EQ(cleanUps([](CoordinatorRig&) {}), 0u); // the factory defaults
    EXPECT_EQ(cleanUps([&](CoordinatorRig& r) { r.writeConfig(newer); }), 0u);
    EXPECT_EQ(cleanUps([](CoordinatorRig& r) {
                  r.writeConfig(DefaultConfig::factoryConfig());
                  testing::writeText(r.home.path / ".config/rondelix/config.json.bak",
                                     testing::readText(r.home.path / ".config/rondelix/config.json"));
                  testing::writeText(r.home.path / ".config/rondelix/config.json", "{ damaged");
              }),
              0u); // restored from the backup
}

TEST(AppCoordinatorStartup, TemporaryFilesOfACutShortArchiveWriteAreRemoved) {
    CoordinatorRig rig;
    const auto folder = rig.home.path / ".config/rondelix";
    const std::vector<std::string> stale{".config.before-cleanup.json.1A2B3C4D.tmp",
                                         ".config.before-cleanup-12.json.00FF00FF.tmp"};
    const std::vector<std::string> kept{"config.before-cleanup.json", ".config.before-cleanup.json.tmp",
                                        ".config.before-cleanup-x.json.1A2B3C4D.tmp", ".notes.1A2B3C4D.tmp"};
    for (const auto& name : stale)
        testing::writeText(folder / name, "{");
    for (const auto& name : kept)
        testing::writeText(folder / name, "{");
    rig.open();
    for (const auto& name : stale)
        EXPECT_FALSE(std::filesystem::exists(folder / name)) << name;
    for (const auto& name : kept)
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
}

// The overlay is warmed while the summon keys are held, before the hold
// becomes a summon; a binding that summons at once leaves no time for that,
// so with one the overlay is warmed six tenths of a second after start.
TEST(AppCoordinatorStartup, WarmsTheOverlayWhileTheSummonKeysAreHeldOrAtStartForAnInstantBinding) {
    constexpr std::uint16_t leftOption = 58;
    constexpr std::uint16_t leftCommand = 55;
    for (const int holdMs : {100, 0}) {
        CoordinatorRig rig;
        Config config = DefaultConfig::factoryConfig();
        config.bindings.front().holdThresholdMs = holdMs;
        rig.writeConfig(config);
        rig.open();
        rig.queue.advance(0.59);
        EXPECT_TRUE(rig.panels.built.empty()) << holdMs;
        rig.queue.advance(0.41);
        if (holdMs == 0) {
            EXPECT_EQ(rig.panels.built.size(), 1u);
            continue;
        }
        EXPECT_TRUE(rig.panels.built.empty());
        rig.taps.modifier(leftOption, true);
        rig.taps.modifier(leftCommand, true);
        rig.queue.advance(0.01);
        ASSERT_EQ(rig.panels.built.size(), 1u);
        EXPECT_EQ(rig.panels.last().prewarms, 1);
        EXPECT_FALSE(rig.c().wheelState().isVisible());
        rig.queue.advance(0.1);
        EXPECT_TRUE(rig.c().wheelState().isVisible());
        EXPECT_EQ(rig.panels.built.size(), 1u);
    }
}

// What the first question for the frontmost application sets up is set up
// once, right after start, never on a summon's path.
TEST(AppCoordinatorStartup, PreparesTheFrontmostApplicationLookUpOnceRightAfterStart) {
    CoordinatorRig rig;
    rig.open();
    rig.queue.advance(0);
    EXPECT_EQ(rig.workspace.frontmostPreparations, 1);
    rig.taps.modifier(58, true);
    rig.taps.modifier(55, true);
    rig.queue.advance(1);
    ASSERT_TRUE(rig.c().wheelState().isVisible());
    EXPECT_EQ(rig.workspace.frontmostPreparations, 1);
}

TEST(AppCoordinatorStartup, DeniedInputAccessIsAnAnswerAndStartsTheEngineAtOnce) {
    CoordinatorRig rig;
    rig.inputAccess.state = Access::denied;
    rig.open();
    EXPECT_TRUE(rig.c().hotkeyManager().listenTapInstalled());
}

TEST(AppCoordinatorStartup, UndeterminedAccessRetriesOnceAfterTwoSecondsThenLeavesItToTheOnboarding) {
    CoordinatorRig rig;
    rig.inputAccess.state = Access::undetermined;
    rig.defaults.set(keys::hasCompletedOnboarding, false);
    rig.open();
    rig.queue.advance(10);
    EXPECT_FALSE(rig.c().hotkeyManager().listenTapInstalled());
    rig.c().finishOnboarding(false); // still undetermined
    EXPECT_FALSE(rig.c().hotkeyManager().listenTapInstalled());
    rig.inputAccess.state = Access::granted;
    rig.c().finishOnboarding(false);
    EXPECT_TRUE(rig.c().hotkeyManager().listenTapInstalled());

    CoordinatorRig answered;
    answered.inputAccess.state = Access::undetermined;
    answered.open();
    answered.queue.advance(1.9);
    answered.inputAccess.state = Access::granted;
    answered.queue.advance(0.1);
    EXPECT_TRUE(answered.c().hotkeyManager().listenTapInstalled());
}

TEST(AppCoordinatorStartup, FirstRunOpensTheOnboardingAtItsSavedStepAfterConstruction) {
    CoordinatorRig rig;
    rig.defaults.set(keys::hasCompletedOnboarding, false);
    rig.defaults.set(keys::onboardingResumeStep, 2);
    rig.open();
    EXPECT_EQ(rig.windows.onboardingOpens, 0);
    rig.queue.runPending();
    EXPECT_EQ(rig.windows.onboardingStep, OnboardingStep::ready);
    EXPECT_TRUE(rig.c().onboardingShownThisSession());
}

class RescueTest : public ::testing::Test {
  protected:
    RescueTest() {
        rig.permissions.accessibility = false;
        rig.permissions.listen = false;
    }
    CoordinatorRig rig;
};

TEST_F(RescueTest, BothPermissionsStillMissingReopensTheOnboardingAtThePermissionsStep) {
    rig.open();
    rig.queue.advance(1.9);
    EXPECT_EQ(rig.windows.onboardingOpens, 0);
    rig.queue.advance(0.1);
    EXPECT_EQ(rig.windows.onboardingStep, OnboardingStep::permissions);
    EXPECT_FALSE(rig.defaults.get(keys::hasCompletedOnboarding));
    EXPECT_EQ(rig.defaults.get(keys::onboardingResumeStep), 1);
    EXPECT_TRUE(rig.defaults.get(keys::onboardingRescueReentered));
    EXPECT_TRUE(rig.c().reenteredFirstRun());
}

TEST_F(RescueTest, APermissionGrantedMeanwhileStartsTheEngineInstead) {
    rig.inputAccess.state = Access::undetermined;
    rig.open();
    rig.permissions.accessibility = true;
    rig.queue.advance(1.0);
    rig.inputAccess.state = Access::denied;
    rig.queue.advance(1.0);
    EXPECT_EQ(rig.windows.onboardingOpens, 0);
    EXPECT_TRUE(rig.c().hotkeyManager().listenTapInstalled());
}

TEST_F(RescueTest, LegacyCompletionWithoutSkippedValueIsMigratedAndNotRescued) {
    rig.defaults.erase(keys::onboardingSkipped.name);
    rig.open();
    rig.queue.advance(3);
    EXPECT_EQ(rig.windows.onboardingOpens, 0);
    EXPECT_TRUE(rig.defaults.get(keys::onboardingSkipped));
}

TEST(AppCoordinatorStartup, ActivationAndWakeRefreshPermissionsAndRepairTheListenTap) {
    CoordinatorRig rig;
    rig.permissions.accessibility = false;
    rig.open();
    EXPECT_FALSE(rig.c().permissions().accessibilityTrusted());
    const int tapsBefore = rig.taps.tapCount(platform::TapMode::listenOnly);

    rig.permissions.accessibility = true;
    rig.session.activate();
    EXPECT_TRUE(rig.c().permissions().accessibilityTrusted());
    EXPECT_EQ(rig.background.pendingCount(), 2u); // the start-up listing and this one

    rig.queue.advance(1);
    rig.log.clear();
    rig.session.post(platform::SessionEvents::Notice::screenSaverDidStop);
    EXPECT_TRUE(rig.log.contains("Rondelix: installListenTap tapCreate ok=true"));
    EXPECT_EQ(rig.taps.tapCount(platform::TapMode::listenOnly), tapsBefore);
}

TEST(AppCoordinatorStartup, QuittingRightAfterAPasteGivesTheClipboardBackAndMarksTheLaunchSurvived) {
    CoordinatorRig rig;
    rig.delegate.applicationWillFinishLaunching();
    rig.open();
    rig.delegate.applicationDidFinishLaunching();
    ASSERT_TRUE(rig.defaults.get(keys::launchInProgress));
    rig.pasteboard.copyFromElsewhere("the user's own");
    rig.c().macroExecutor().fire(MacroAction::Text{"pasted"});
    rig.queue.runPending();
    ASSERT_EQ(rig.pasteboard.text(), "pasted");
    rig.queue.advance(0.1);
    rig.delegate.applicationWillTerminate();
    EXPECT_EQ(rig.pasteboard.text(), "the user's own");
    EXPECT_FALSE(rig.defaults.get(keys::launchInProgress));
    // Registered, not stored.
    EXPECT_EQ(rig.defaults.value("ApplePressAndHoldEnabled"), nlohmann::json(false));
    EXPECT_FALSE(rig.defaults.hasStoredValue(keys::pressAndHoldEnabled));
}

TEST(AppCoordinatorStartup, WorkLeftOverWhenTheCoordinatorIsGoneDoesNothing) {
    CoordinatorRig rig;
    rig.defaults.set(keys::hasCompletedOnboarding, false);
    rig.open();
    rig.coordinator.reset();
    EXPECT_EQ(rig.delegate.coordinator, nullptr);
    EXPECT_EQ(rig.session.observerCount(), 0u);
    rig.background.runAll();
    rig.queue.advance(5);
    EXPECT_EQ(rig.windows.onboardingOpens, 0);
    EXPECT_TRUE(rig.panels.built.empty());
}

} // namespace
} // namespace rondelix
