#include "settings/AppearanceSettings.h"

#include "app/SettingsPorts.h"
#include "support/CoordinatorRig.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testsupport::CoordinatorRig;

class AppearanceSettingsTest : public ::testing::Test {
  protected:
    AppearanceSettingsTest() {
        rig.queue.advance(2); // past the steps a start defers
    }
    const Behavior& stored() { return rig.c().configStore().config().behavior; }
    bool wheelShows() { return !rig.panels.built.empty() && rig.panels.last().visible; }

    CoordinatorRig rig;
    AppCoordinator& coordinator = rig.open();
    AppearanceSettings settings{coordinator.configStore(), coordinator.overlayController(),
                                testWheelControl(coordinator)};
};

TEST_F(AppearanceSettingsTest, SizeDragPreviewsTheWheelAtThePointerUntilTheDragEnds) {
    settings.beginSizeDrag();
    EXPECT_TRUE(rig.c().overlayController().previewingSize());
    EXPECT_TRUE(wheelShows());
    const std::size_t previewPanel = rig.panels.built.size() - 1;
    const std::size_t openings = rig.panels.last().openAnimations.size();
    for (double size : {330.0, 340.0, 350.0}) {
        settings.setSize(size);
        EXPECT_EQ(rig.c().overlayController().currentWheelDiameter(), size);
        EXPECT_TRUE(wheelShows());
    }
    // The wheel follows the slider without opening again.
    EXPECT_EQ(rig.panels.built[previewPanel]->openAnimations.size(), openings);
    for (std::size_t i = previewPanel + 1; i < rig.panels.built.size(); ++i)
        EXPECT_TRUE(rig.panels.built[i]->openAnimations.empty());
    EXPECT_EQ(settings.sizeText(), "350 px");
    settings.endSizeDrag();
    rig.queue.advance(1);
    EXPECT_FALSE(rig.c().overlayController().previewingSize());
    EXPECT_FALSE(wheelShows());
    EXPECT_EQ(stored().wheelSize, 350);
}

TEST_F(AppearanceSettingsTest, SizeDragWithTheTestWheelResizesItAndEndingHidesNothing) {
    settings.toggleTestWheel();
    ASSERT_TRUE(settings.testWheelActive());
    ASSERT_TRUE(wheelShows());
    settings.beginSizeDrag();
    EXPECT_FALSE(rig.c().overlayController().previewingSize()); // the panel already shows
    settings.setSize(400);
    EXPECT_EQ(rig.c().overlayController().currentWheelDiameter(), 400);
    settings.endSizeDrag();
    rig.queue.advance(1);
    EXPECT_TRUE(wheelShows());
    EXPECT_TRUE(settings.testWheelActive());
}

TEST_F(AppearanceSettingsTest, TransparencyIsOneMinusOpacityAndStopsAtTheStoresFloor) {
    settings.setTransparency(
        AppearanceSettings::transparencyScale.valueAt(AppearanceSettings::transparencyScale.lastStep()));
    EXPECT_DOUBLE_EQ(stored().opacity, 0.2);
    EXPECT_EQ(settings.transparencyText(), "80%");
    settings.setTransparency(0.25);
    EXPECT_DOUBLE_EQ(stored().opacity, 0.75);
    EXPECT_EQ(settings.transparencyText(), "25%");
}

TEST_F(AppearanceSettingsTest, ResetTouchesOnlyTheFiveAppearanceValues) {
    rig.c().configStore().mutate([](Config& c) {
        Behavior& b = c.behavior;
        b.wheelSize = 400;
        b.position = Behavior::Position::textCaret;
        b.opacity = 0.5;
        b.accentHex = "#FF0000";
        b.accentStrength = 0.4;
        b.liquidGlassEnabled = false;
        b.soundEnabled = false;
        b.stickyAim = false;
    });
    EXPECT_EQ(settings.position(), Behavior::Position::cursor); // a caret position shows as the cursor
    Behavior expected = stored();
    expected.wheelSize = 320;
    expected.position = Behavior::Position::cursor;
    expected.opacity = 0.9;
    expected.accentHex = "#0A84FF";
    expected.accentStrength = 1.0;
    settings.resetToDefaultAppearance();
    EXPECT_EQ(stored(), expected);
    EXPECT_EQ(settings.sizeText(), "320 px");
}

TEST_F(AppearanceSettingsTest, LeavingThePageEndsTheTestWheel) {
    settings.toggleTestWheel();
    settings.leavePage();
    rig.queue.advance(1);
    EXPECT_FALSE(settings.testWheelActive());
    EXPECT_FALSE(wheelShows());
    settings.leavePage(); // nothing to end
    EXPECT_FALSE(settings.testWheelActive());
}

} // namespace
} // namespace rondelix
