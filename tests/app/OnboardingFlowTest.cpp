#include "app/MenuBarContent.h"
#include "engine/HotkeyManager.h"
#include "engine/PermissionsCheck.h"
#include "overlay/HUD.h"
#include "support/CoordinatorRig.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

namespace keys = DefaultsKeys;
using testsupport::CoordinatorRig;
using Kind = AppWindows::Kind;

class OnboardingFlowTest : public ::testing::Test {
  protected:
    OnboardingFlowTest() {
        rig.defaults.set(keys::hasCompletedOnboarding, false);
        rig.defaults.erase(keys::onboardingSkipped.name);
    }
    void openAndShowFirstScreen() {
        rig.open();
        rig.queue.runPending();
    }
    CoordinatorRig rig;
};

TEST_F(OnboardingFlowTest, FinishingStoresCompletionAndClosesTheWindowWithoutADismissal) {
    openAndShowFirstScreen();
    ASSERT_TRUE(rig.windows.state(Kind::onboarding).exists);
    rig.c().finishOnboarding(false);
    EXPECT_TRUE(rig.defaults.get(keys::hasCompletedOnboarding));
    EXPECT_FALSE(rig.defaults.get(keys::onboardingSkipped));
    EXPECT_EQ(rig.defaults.get(keys::onboardingResumeStep), 0);
    EXPECT_FALSE(rig.windows.state(Kind::onboarding).exists);

    rig.c().finishOnboarding(true); // already completed: the earlier skipped value stays
    EXPECT_FALSE(rig.defaults.get(keys::onboardingSkipped));

    rig.c().resetOnboarding();
    EXPECT_EQ(rig.windows.onboardingStep, OnboardingStep::welcome);
    EXPECT_FALSE(rig.defaults.get(keys::hasCompletedOnboarding));
    rig.c().finishOnboarding(true);
    EXPECT_TRUE(rig.defaults.get(keys::onboardingSkipped));
}

// Without a tray nothing else leads back into the program, so finishing
// leaves the main window on screen; with one, the tray is the way back.
TEST(OnboardingFinish, ShowsTheMainWindowOnlyWhereNoTrayIs) {
    for (const bool tray : {true, false})
        for (const bool skipped : {true, false}) {
            CoordinatorRig rig;
            rig.defaults.set(keys::hasCompletedOnboarding, false);
            rig.windows.tray = tray;
            rig.open();
            rig.queue.runPending();
            rig.c().finishOnboarding(skipped);
            EXPECT_EQ(rig.windows.state(Kind::main).onScreen(), !tray) << tray << skipped;
            EXPECT_FALSE(rig.windows.state(Kind::onboarding).exists);
        }
}

TEST_F(OnboardingFlowTest, ClosingAFirstRunOnboardingStoresNothing) {
    openAndShowFirstScreen();
    rig.windows.userCloses(Kind::onboarding);
    EXPECT_FALSE(rig.defaults.get(keys::hasCompletedOnboarding));
    EXPECT_FALSE(rig.defaults.hasStoredValue(keys::onboardingSkipped));
}

TEST_F(OnboardingFlowTest, ClosingARescueWithNothingGrantedCountsItSkipped) {
    rig.defaults.set(keys::onboardingRescueReentered, true);
    rig.permissions.accessibility = false;
    rig.permissions.listen = false;
    openAndShowFirstScreen();
    EXPECT_TRUE(rig.c().reenteredFirstRun());
    rig.windows.userCloses(Kind::onboarding);
    EXPECT_TRUE(rig.defaults.get(keys::hasCompletedOnboarding));
    EXPECT_TRUE(rig.defaults.get(keys::onboardingSkipped));
    EXPECT_FALSE(rig.defaults.get(keys::onboardingRescueReentered));
}

TEST_F(OnboardingFlowTest, ClosingARescueAfterGrantingOnePermissionStoresNothing) {
    rig.defaults.set(keys::onboardingRescueReentered, true);
    rig.permissions.accessibility = false;
    rig.permissions.listen = false;
    openAndShowFirstScreen();
    rig.permissions.accessibility = true;
    rig.windows.userCloses(Kind::onboarding);
    EXPECT_FALSE(rig.defaults.get(keys::hasCompletedOnboarding));
    EXPECT_TRUE(rig.defaults.get(keys::onboardingRescueReentered));
}

class ShortcutsTest : public ::testing::Test {
  protected:
    ShortcutsTest() {
        rig.open();
        rig.queue.runPending();
    }
    void install(const std::string& name) {
        const auto folder = rig.c().configStore().paths().automations;
        std::filesystem::create_directories(folder);
        std::ofstream(folder / name) << "#!/bin/sh\n";
        std::filesystem::permissions(folder / name, std::filesystem::perms::owner_all);
    }
    void listed() {
        rig.background.runAll();
        rig.queue.runPending();
    }
    std::vector<std::string> missingIds() {
        std::vector<std::string> ids;
        for (const auto& r : rig.c().missingRequiredShortcuts())
            ids.push_back(r.id);
        return ids;
    }
    CoordinatorRig rig;
};

TEST_F(ShortcutsTest, MissingListIsEmptyUntilTheFirstListingThenNamesUsedUninstalledOnes) {
    // The factory control-center wheel uses neither Shortcut-backed system action.
    rig.c().configStore().mutate([](Config& c) {
        c.wheels.front().slices.front().action = MacroAction::SystemAction{"toggle-dnd"};
        c.wheels.front().slices.back().action = MacroAction::SystemAction{"night-shift"};
    });
    EXPECT_TRUE(missingIds().empty());
    listed();
    EXPECT_TRUE(rig.c().automations().listed());
    EXPECT_EQ(missingIds(), (std::vector<std::string>{"toggle-dnd", "night-shift"}));
    EXPECT_TRUE(MenuBarContent(rig.c()).state().requiredShortcutsMissing);

    install("toggle FOCUS"); // letter case does not matter
    rig.c().automations().refresh();
    listed();
    EXPECT_EQ(missingIds(), std::vector<std::string>{"night-shift"});
    install("Toggle Night Light"); // the name the card and the diagnostics use
    rig.c().automations().refresh();
    listed();
    EXPECT_TRUE(missingIds().empty());
}

TEST_F(ShortcutsTest, AFailedKnownShortcutOpensTheSetupAtItOnlyWhileItIsMissing) {
    // A failure heard once the list is in, and the HUD's bubble gone first.
    const auto fails = [&](const std::string& name) {
        rig.c().handleShortcutFailed(name);
        listed();
        rig.queue.advance(HUD::showSeconds + HUD::fadeOutSeconds);
    };
    rig.c().handleShortcutFailed("Not In The Catalogue");
    fails("toggle bluetooth");
    EXPECT_EQ(rig.windows.highlight, "toggle bluetooth");

    rig.windows.userCloses(Kind::shortcutSetup);
    install("Toggle Bluetooth");
    fails("Toggle Bluetooth");
    EXPECT_EQ(rig.windows.shortcutSetupOpens, 1);

    // Do Not Disturb's automation is set up under its former name too.
    fails("Toggle Do Not Disturb");
    EXPECT_EQ(rig.windows.shortcutSetupOpens, 2);
    rig.windows.userCloses(Kind::shortcutSetup);
    install("Toggle Focus");
    fails("Toggle Do Not Disturb");
    EXPECT_EQ(rig.windows.shortcutSetupOpens, 2);
    // The HUD has told the user what went wrong: nothing beeps on top.
    EXPECT_EQ(rig.sounds.beeps, 0);
}

TEST(DeveloperPage, RelockingWhileItIsShownMovesTheWindowToAbout) {
    CoordinatorRig rig;
    rig.open();
    rig.c().unlockDevMenu();
    EXPECT_TRUE(rig.defaults.get(keys::devMenuUnlocked));
    rig.c().showMain(MainTab::development);
    rig.c().relockDevMenu();
    EXPECT_EQ(rig.c().mainTab(), MainTab::about);
    EXPECT_FALSE(rig.defaults.get(keys::devMenuUnlocked));
}

} // namespace
} // namespace rondelix
