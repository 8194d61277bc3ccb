#include "app/MenuBarContent.h"
#include "model/ConfigCoding.h"
#include "support/CoordinatorRig.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

namespace keys = DefaultsKeys;
using testsupport::CoordinatorRig;
using Kind = AppWindows::Kind;

class ProgramTargetsTest : public ::testing::Test {
  protected:
    ProgramTargetsTest() { rig.open(); }

    void fire(std::optional<std::string> target) {
        rig.c().macroExecutor().fire(MacroAction::OpenSettings{std::move(target)});
        rig.queue.runPending();
    }
    AppWindows::State main() { return rig.windows.state(Kind::main); }
    // One undoable edit, to see whether hiding the window empties the history.
    void editAWheel() {
        rig.c().configStore().editWheels(std::nullopt,
                                         [](std::vector<Wheel>& w) { w.front().name = "Edited"; });
        ASSERT_TRUE(rig.c().configStore().canUndo());
    }
    Behavior behaviorOnDisk() {
        return decodeConfigBytes(testing::readText(rig.c().configStore().paths().config))->behavior;
    }

    CoordinatorRig rig;
};

TEST_F(ProgramTargetsTest, MissingTargetOpensHidesOrFrontsTheMainWindow) {
    fire(std::nullopt);
    EXPECT_TRUE(main().key);
    EXPECT_EQ(rig.windows.mainSize, (ContentSize{1440, 800}));

    rig.c().showMain(MainTab::general);
    editAWheel();
    fire(std::nullopt); // key: hides
    EXPECT_FALSE(main().visible);
    EXPECT_FALSE(rig.c().configStore().canUndo());

    fire(std::nullopt); // hidden: opens on My Wheels
    EXPECT_TRUE(main().key);
    EXPECT_EQ(rig.c().mainTab(), MainTab::wheels);

    rig.c().showMain(MainTab::about);
    rig.windows.resignKey(Kind::main);
    fire(std::nullopt); // visible, not key: comes forward on the page it shows
    EXPECT_TRUE(main().key);
    EXPECT_EQ(rig.c().mainTab(), MainTab::about);
    EXPECT_EQ(rig.windows.mainMakes, 1);
}

TEST_F(ProgramTargetsTest, PageTargetTogglesOnlyWhenKeyOnThatVeryPage) {
    fire("open-gallery");
    EXPECT_EQ(rig.c().mainTab(), MainTab::gallery);
    EXPECT_TRUE(main().key);

    fire("open-sound"); // another page: switches, stays open
    EXPECT_EQ(rig.c().mainTab(), MainTab::soundFeedback);
    EXPECT_TRUE(main().visible);

    editAWheel();
    fire("open-sound"); // same page while key: hides and forgets the undo steps
    EXPECT_FALSE(main().visible);
    EXPECT_FALSE(rig.c().configStore().canUndo());

    fire("open-bindings");
    rig.windows.resignKey(Kind::main);
    fire("open-bindings"); // not key: shown, never hidden
    EXPECT_TRUE(main().key);
    EXPECT_EQ(rig.c().mainTab(), MainTab::shortcuts);

    rig.windows.miniaturize(Kind::main);
    fire("open-about");
    EXPECT_TRUE(main().visible);
    EXPECT_FALSE(main().miniaturized);
    EXPECT_EQ(rig.c().mainTab(), MainTab::about);
}

TEST_F(ProgramTargetsTest, QuickSettingsFlipAndSaveAtOnceWithoutAnUndoStep) {
    const Behavior before = rig.c().configStore().config().behavior;
    fire("toggle-liquid-glass");
    fire("toggle-sound");
    fire("toggle-detect-app");
    const Behavior after = behaviorOnDisk();
    EXPECT_EQ(after.liquidGlassEnabled, !before.liquidGlassEnabled);
    EXPECT_EQ(after.soundEnabled, !before.soundEnabled);
    EXPECT_EQ(after.detectApp, !before.detectApp);
    EXPECT_EQ(rig.c().configStore().config().behavior, after);
    EXPECT_FALSE(rig.c().configStore().canUndo());
}

TEST_F(ProgramTargetsTest, PauseWithTheHUDUpdateCheckAndUnknownIdsThatOnlyBeep) {
    fire("pause-summon");
    EXPECT_TRUE(rig.c().paused());
    fire("pause-summon");
    EXPECT_FALSE(rig.c().paused());
    EXPECT_EQ(rig.hud->text, "Resumed");
    EXPECT_EQ(rig.hud->systemImage, "play.circle.fill");

    // The program does not update itself: the slice checks nothing and says so.
    fire("check-for-updates");
    EXPECT_EQ(rig.hud->text, "That action isn't available.");

    for (const char* id : {"Open-Gallery", "", "open-development", "PAUSE-SUMMON", "toggle-wifi"})
        fire(id);
    EXPECT_EQ(rig.sounds.beeps, 5);
    EXPECT_FALSE(main().exists);
    EXPECT_FALSE(rig.c().paused());
}

TEST_F(ProgramTargetsTest, MenuSettingsOpensAppearanceAndQuitEndsTheProgram) {
    MenuBarContent menu(rig.c());
    menu.choose(MenuCommand::settings);
    EXPECT_EQ(rig.c().mainTab(), MainTab::appearance);
    int quits = 0;
    menu.onQuit = [&] { ++quits; };
    menu.choose(MenuCommand::quit);
    EXPECT_EQ(quits, 1);
}

class ReopenTest : public ProgramTargetsTest {};

TEST_F(ReopenTest, BringsTheOnboardingForwardBeforeTheMainWindow) {
    rig.c().showMain(MainTab::general);
    rig.c().showOnboarding(OnboardingStep::welcome);
    rig.windows.forwarded.clear();
    EXPECT_FALSE(rig.delegate.applicationShouldHandleReopen());
    EXPECT_EQ(rig.windows.forwarded, std::vector<Kind>{Kind::onboarding});
}

TEST_F(ReopenTest, WithEveryWindowClosedOpensMyWheelsOrTheOnboarding) {
    rig.c().showMain(MainTab::general);
    rig.windows.userCloses(Kind::main);
    rig.c().handleReopen();
    EXPECT_EQ(rig.c().mainTab(), MainTab::wheels);
    EXPECT_TRUE(main().key);

    rig.windows.userCloses(Kind::main);
    rig.defaults.set(keys::hasCompletedOnboarding, false);
    rig.defaults.set(keys::onboardingResumeStep, 1);
    rig.c().handleReopen();
    EXPECT_EQ(rig.windows.onboardingStep, OnboardingStep::permissions);
}

TEST(ReopenBeforeTheCoordinator, LetsTheApplicationHandleIt) {
    CoordinatorRig rig;
    EXPECT_TRUE(rig.delegate.applicationShouldHandleReopen());
}

} // namespace
} // namespace rondelix
