#include "engine/HotkeyManager.h"
#include "engine/PermissionsCheck.h"
#include "store/SharedWheelTransfer.h"
#include "support/CoordinatorRig.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testsupport::CoordinatorRig;
using Kind = AppWindows::Kind;

constexpr std::uint16_t leftOption = 58;
constexpr std::uint16_t leftCommand = 55;

class CallbacksTest : public ::testing::Test {
  protected:
    CallbacksTest() {
        rig.open();
        rig.queue.advance(1); // past the steps a start defers
    }

    // Holds the factory binding, Option + Command, past its hold threshold.
    void holdBinding() {
        rig.taps.modifier(leftOption, true);
        rig.taps.modifier(leftCommand, true);
        rig.queue.advance(0.2);
    }
    void releaseBinding() {
        rig.taps.modifier(leftCommand, false);
        rig.taps.modifier(leftOption, false);
        rig.queue.runPending();
    }
    bool wheelOpen() { return rig.c().wheelState().isVisible(); }
    HotkeyManager& engine() { return rig.c().hotkeyManager(); }

    CoordinatorRig rig;
};

TEST_F(CallbacksTest, PauseBlocksSummoningUntilResumed) {
    rig.c().togglePause(false);
    holdBinding();
    EXPECT_FALSE(wheelOpen());
    EXPECT_EQ(rig.taps.tapCount(platform::TapMode::intercepting), 0);
    releaseBinding();

    rig.c().togglePause(false);
    holdBinding();
    EXPECT_TRUE(wheelOpen());
    EXPECT_TRUE(rig.panels.last().visible);
    releaseBinding();
}

TEST_F(CallbacksTest, PausingClosesAnOpenWheel) {
    holdBinding();
    ASSERT_TRUE(wheelOpen());
    rig.c().handleWheelAction("pause-summon");
    rig.queue.runPending();
    EXPECT_TRUE(rig.c().paused());
    EXPECT_FALSE(wheelOpen());
    EXPECT_EQ(rig.hud->text, "Paused");
    EXPECT_EQ(rig.hud->systemImage, "pause.circle.fill");
    EXPECT_FALSE(rig.hud->tintHex);
}

TEST_F(CallbacksTest, BlockedSummonBeepsAtMostOnceEveryTwoSeconds) {
    rig.taps.failInstalls(platform::TapMode::intercepting, true);
    holdBinding();
    releaseBinding();
    EXPECT_EQ(rig.sounds.beeps, 1);

    rig.queue.advance(1.5 - 0.2);
    engine().callbacks.onSummonBlockedByPermissions(true); // 1.5 s after the first
    EXPECT_EQ(rig.sounds.beeps, 1);
    rig.queue.advance(1.0);
    engine().callbacks.onSummonBlockedByPermissions(true); // 2.5 s after the first
    EXPECT_EQ(rig.sounds.beeps, 2);

    rig.permissions.accessibility = false;
    engine().callbacks.onSummonBlockedByPermissions(false);
    rig.queue.advance(5);
    engine().callbacks.onSummonBlockedByPermissions(false);
    EXPECT_EQ(rig.sounds.beeps, 2);
    EXPECT_FALSE(rig.c().permissions().accessibilityTrusted());
}

TEST_F(CallbacksTest, PreviewWheelIsTheLastEditedOneOnlyWhileTheEditorIsKey) {
    const auto preview = [&] { return engine().callbacks.editorPreviewWheelId(); };
    rig.c().lastEditedWheelId = "apps";
    EXPECT_FALSE(preview()); // no window

    rig.c().showMain(MainTab::wheels);
    EXPECT_EQ(preview(), "apps");

    rig.windows.resignKey(Kind::main);
    EXPECT_FALSE(preview());

    rig.c().showMain(MainTab::gallery);
    EXPECT_FALSE(preview());

    rig.c().showMain(MainTab::wheels);
    rig.c().configStore().editWheels(std::nullopt, [](std::vector<Wheel>& wheels) {
        std::erase_if(wheels, [](const Wheel& w) { return w.id == "apps"; });
    });
    EXPECT_FALSE(preview());

    rig.c().lastEditedWheelId.reset();
    EXPECT_FALSE(preview());
}

TEST_F(CallbacksTest, PreviewSummonOpensTheEditedWheel) {
    rig.c().lastEditedWheelId = "control-center";
    rig.c().showMain(MainTab::wheels);
    holdBinding();
    EXPECT_EQ(rig.c().wheelState().activeWheelId(), "control-center");
    releaseBinding();
}

TEST_F(CallbacksTest, EmptySliceRequestOpensTheEditorWithANewTargetEachTime) {
    engine().callbacks.onOpenSliceEditor("default", 0);
    EXPECT_FALSE(rig.c().editorTarget()); // deferred
    rig.queue.runPending();
    const auto first = rig.c().editorTarget();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->wheelId, "default");
    EXPECT_EQ(first->position, 0);
    EXPECT_EQ(rig.c().mainTab(), MainTab::wheels);
    EXPECT_TRUE(rig.windows.state(Kind::main).key);

    rig.c().openSliceEditor("default", 0);
    rig.queue.runPending();
    EXPECT_NE(rig.c().editorTarget(), first);
}

TEST_F(CallbacksTest, EmptySliceRequestIsIgnoredWhileTheOnboardingIsVisible) {
    rig.c().showOnboarding(OnboardingStep::welcome);
    engine().callbacks.onOpenSliceEditor("default", 0);
    rig.queue.runPending();
    EXPECT_FALSE(rig.c().editorTarget());
    EXPECT_FALSE(rig.windows.state(Kind::main).exists);
}

TEST_F(CallbacksTest, FailedActionFlashesTheHUDWithAWarning) {
    rig.c().macroExecutor().onActionFailed("Couldn't open that app.");
    EXPECT_EQ(rig.hud->text, "Couldn't open that app.");
    EXPECT_EQ(rig.hud->systemImage, "exclamationmark.triangle.fill");
    EXPECT_EQ(rig.hud->tintHex, "#FF9500");
    EXPECT_TRUE(rig.hud->visible);
}

TEST_F(CallbacksTest, TestWheelTurnsOffByToggleEscOrDeactivation) {
    rig.c().toggleTestWheel();
    EXPECT_TRUE(rig.c().testWheelActive());
    EXPECT_TRUE(rig.c().overlayController().testModeActive());
    EXPECT_TRUE(rig.escape.pressEscape());
    EXPECT_FALSE(rig.c().testWheelActive());
    EXPECT_FALSE(rig.c().overlayController().testModeActive());
    EXPECT_TRUE(rig.escape.monitors.empty());

    rig.c().deactivateTestWheel(); // already off: nothing
    EXPECT_FALSE(rig.c().testWheelActive());
    rig.c().toggleTestWheel();
    rig.c().toggleTestWheel();
    EXPECT_FALSE(rig.c().overlayController().testModeActive());
}

TEST_F(CallbacksTest, AWindowMovesWheelsThroughTheCoordinatorsTransferServices) {
    const auto file = rig.home.path / "Apps.rondix";
    rig.dialogs.saveLocations.push_back(file);
    SharedWheelTransfer(rig.c().transferServices()).exportWheel("apps");
    ASSERT_TRUE(std::filesystem::exists(file));

    rig.dialogs.filesToOpen.push_back(file);
    rig.dialogs.alertAnswers.push_back("Add Wheel");
    const auto wheelCount = rig.c().configStore().config().wheels.size();
    EXPECT_TRUE(SharedWheelTransfer(rig.c().transferServices()).importWheel());
    EXPECT_EQ(rig.c().configStore().config().wheels.size(), wheelCount + 1);
}

} // namespace
} // namespace rondelix
