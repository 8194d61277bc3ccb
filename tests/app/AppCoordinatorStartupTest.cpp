#include "engine/HotkeyManager.h"
#include "engine/PermissionsCheck.h"
#include "support/CoordinatorRig.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

namespace keys = DefaultsKeys;
using testsupport::CoordinatorRig;
using Kind = AppWindows::Kind;
using Access = platform::InputAccess::State;
using Journal = std::vector<std::string>;

// Pass-through platform pieces that write down when construction reaches them.
struct JournalUpdater final : platform::Updater {
    JournalUpdater(platform::Updater& inner, Journal& journal) : inner(inner), journal(journal) {}
    void start(platform::UpdaterDelegate& d, std::function<void()> f) override {
        journal.push_back("updater");
        inner.start(d, std::move(f));
    }
    bool canCheckForUpdates() const override { return inner.canCheckForUpdates(); }
    void checkForUpdates() override { inner.checkForUpdates(); }
    void checkForUpdateInformation() override { inner.checkForUpdateInformation(); }
    std::optional<std::string> currentVersion() const override { return inner.currentVersion(); }
    std::optional<std::string> unavailableReason() const override { return inner.unavailableReason(); }
    platform::Updater& inner;
    Journal& journal;
};

struct JournalWatcher final : platform::FileWatcher {
    JournalWatcher(platform::FileWatcher& inner, Journal& journal) : inner(inner), journal(journal) {}
    bool arm(const std::filesystem::path& file, Handler h) override {
        journal.push_back("store");
        return inner.arm(file, std::move(h));
    }
    void disarm() override { inner.disarm(); }
    platform::FileWatcher& inner;
    Journal& journal;
};

struct JournalPermissions final : platform::Permissions {
    JournalPermissions(platform::Permissions& inner, Journal& journal) : inner(inner), journal(journal) {}
    bool isAccessibilityTrusted() override {
        journal.push_back("permissions");
        return inner.isAccessibilityTrusted();
    }
    bool canListenToInput() override { return inner.canListenToInput(); }
    bool requestInputAccess() override { return inner.requestInputAccess(); }
    bool requestListenAccess() override { return inner.requestListenAccess(); }
    bool primeListenRegistration() override {
        journal.push_back("prime");
        return inner.primeListenRegistration();
    }
    void openInputMonitoringSettings() override {}
    void openAccessibilitySettings() override {}
    void bringPermissionPromptToFront() override {}
    int systemEventsAutomationStatus() override { return 0; }
    platform::Permissions& inner;
    Journal& journal;
};

struct JournalTaps final : platform::EventTaps {
    JournalTaps(platform::EventTaps& inner, Journal& journal) : inner(inner), journal(journal) {}
    std::unique_ptr<platform::EventTap> createTap(platform::TapMode m, platform::EventMask mask, Callback cb) override {
        journal.push_back("engine");
        return inner.createTap(m, mask, std::move(cb));
    }
    bool isKeyDown(std::uint16_t k) const override { return inner.isKeyDown(k); }
    bool isButtonDown(int b) const override { return inner.isButtonDown(b); }
    std::uint64_t flagsState() const override { return inner.flagsState(); }
    bool isSecureInputEnabled() const override { return inner.isSecureInputEnabled(); }
    void postKey(std::uint16_t k, bool down, std::uint64_t f) override { inner.postKey(k, down, f); }
    void postMediaKey(int type, bool down) override { inner.postMediaKey(type, down); }
    platform::EventTaps& inner;
    Journal& journal;
};

struct JournalSession final : platform::SessionEvents {
    JournalSession(platform::SessionEvents& inner, Journal& journal) : inner(inner), journal(journal) {}
    Token observeActivation(std::function<void()> h) override {
        journal.push_back("observers");
        return inner.observeActivation(std::move(h));
    }
    Token observe(Notice n, std::function<void()> h) override { return inner.observe(n, std::move(h)); }
    void remove(Token t) override { inner.remove(t); }
    platform::SessionEvents& inner;
    Journal& journal;
};

struct JournalLoginItems final : platform::LoginItems {
    JournalLoginItems(platform::LoginItems& inner, Journal& journal) : inner(inner), journal(journal) {}
    Status status() const override {
        journal.push_back("login items");
        return inner.status();
    }
    std::optional<std::string> setRegistered(bool r) override { return inner.setRegistered(r); }
    platform::LoginItems& inner;
    Journal& journal;
};

struct JournalBackground final : platform::Background {
    JournalBackground(platform::Background& inner, Journal& journal, const AppDelegate& delegate)
        : inner(inner), journal(journal), delegate(delegate) {}
    void run(std::function<void()> work) override {
        journal.push_back(delegate.coordinator ? "shortcut listing after handing over" : "shortcut listing");
        inner.run(std::move(work));
    }
    platform::Background& inner;
    Journal& journal;
    const AppDelegate& delegate;
};

TEST(AppCoordinatorStartup, BuildsAndStartsTheServicesInOrderAndHandsItselfToTheDelegateLast) {
    CoordinatorRig rig;
    Journal journal;
    JournalUpdater updater(rig.updater, journal);
    JournalWatcher watcher(rig.watcher, journal);
    JournalPermissions permissions(rig.permissions, journal);
    JournalTaps taps(rig.taps, journal);
    JournalSession session(rig.session, journal);
    JournalLoginItems loginItems(rig.loginItems, journal);
    JournalBackground background(rig.background, journal, rig.delegate);
    AppCoordinator::Platform p = rig.platform();
    AppCoordinator::Platform wrapped{p.queue,      p.log,        p.defaults,       updater,
                                     p.home,       watcher,      loginItems,       p.pasteboard,
                                     p.workspace,  p.processes,  taps,             p.sounds,
                                     p.screens,    p.accessibility, permissions,   p.inputAccess,
                                     session,      background,   p.keyboardLayout, p.escapeMonitor,
                                     p.windows,    p.makeOverlaySurface, p.makeHUDSurface};
    rig.open(wrapped);

    EXPECT_EQ(journal, (Journal{"updater", "store", "prime", "permissions", "engine", "observers", "login items",
                                "shortcut listing"}));
    EXPECT_EQ(rig.delegate.coordinator, rig.coordinator.get());
    EXPECT_EQ(rig.c().wheelState().activeWheelId(), "default");
    EXPECT_EQ(rig.c().mainTab(), MainTab::wheels);
    EXPECT_FALSE(rig.c().paused());
    EXPECT_EQ(rig.session.observedNotices(),
              (std::vector<platform::SessionEvents::Notice>{
                  platform::SessionEvents::Notice::didWake, platform::SessionEvents::Notice::screensDidWake,
                  platform::SessionEvents::Notice::sessionDidBecomeActive,
                  platform::SessionEvents::Notice::screenIsUnlocked,
                  platform::SessionEvents::Notice::screenSaverDidStop}));
}

TEST(AppCoordinatorStartup, PrewarmsTheOverlayAfterSixTenthsOfASecond) {
    CoordinatorRig rig;
    rig.open();
    rig.queue.advance(0.59);
    EXPECT_TRUE(rig.panels.built.empty());
    rig.queue.advance(0.01);
    EXPECT_EQ(rig.panels.built.size(), 1u);
}

TEST(AppCoordinatorStartup, DeterminedInputAccessStartsTheEngineAtOnceEvenWhenDenied) {
    CoordinatorRig rig;
    rig.inputAccess.state = Access::denied;
    rig.open();
    EXPECT_TRUE(rig.c().hotkeyManager().listenTapInstalled());
}

TEST(AppCoordinatorStartup, UndeterminedAccessRetriesOnceAfterTwoSeconds) {
    CoordinatorRig rig;
    rig.inputAccess.state = Access::undetermined;
    rig.open();
    EXPECT_FALSE(rig.c().hotkeyManager().listenTapInstalled());
    rig.queue.advance(1.9);
    rig.inputAccess.state = Access::granted;
    rig.queue.advance(0.1);
    EXPECT_TRUE(rig.c().hotkeyManager().listenTapInstalled());
}

TEST(AppCoordinatorStartup, StillUndeterminedLeavesTheEngineToTheOnboarding) {
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

TEST(AppCoordinatorStartup, CompletedOnboardingShowsNothing) {
    CoordinatorRig rig;
    rig.open();
    rig.queue.advance(5);
    EXPECT_TRUE(rig.windows.states.empty());
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

TEST_F(RescueTest, AnOnboardingShownMeanwhileIsNotOpenedAgain) {
    rig.open();
    rig.c().showOnboarding(OnboardingStep::welcome);
    rig.queue.advance(2);
    EXPECT_EQ(rig.windows.onboardingOpens, 1);
    EXPECT_TRUE(rig.defaults.get(keys::hasCompletedOnboarding));
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
