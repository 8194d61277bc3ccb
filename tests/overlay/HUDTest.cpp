#include "overlay/HUD.h"

#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimScreens.h"
#include "support/SimHUDSurface.h"

#include <gtest/gtest.h>

using namespace rondelix;
using platform::Point;

namespace {

class HUDTest : public ::testing::Test {
  protected:
    HUDTest() {
        screens.layout = {{{0, 0, 1440, 900}, {0, 0, 1440, 875}},
                          {{1440, 100, 1920, 1080}, {1440, 170, 1920, 1010}}};
        screens.pointer = {2000, 500};
    }

    platform::sim::SimMainQueue queue;
    platform::sim::SimScreens screens;
    std::shared_ptr<testsupport::SimHUDRecord> bubble = std::make_shared<testsupport::SimHUDRecord>();
    HUD hud{queue, screens, [this] { return std::make_unique<testsupport::SimHUDSurface>(bubble); }};
};

TEST_F(HUDTest, FadesInCentredOnThePointersScreenAndAwayAfterItsTime) {
    hud.flash("Summoning paused", "pause.circle");
    EXPECT_TRUE(bubble->visible);
    EXPECT_EQ(bubble->animatingAlphaTo, 1.0);
    // Centred on the whole frame of the second screen (text 16 chars: 188 x 46).
    EXPECT_EQ(bubble->origin, (Point{1440 + 960 - 94, 100 + 540 - 23}));
    queue.advance(1.29);
    EXPECT_EQ(bubble->animatingAlphaTo, 1.0);
    queue.advance(0.01);
    EXPECT_EQ(bubble->animatingAlphaTo, 0.0);
    EXPECT_TRUE(bubble->visible);
    queue.advance(0.2);
    EXPECT_FALSE(bubble->visible);
}

TEST_F(HUDTest, ALaterFlashReplacesTheTextAndRestartsTheTimer) {
    hud.flash("First", "info.circle");
    queue.advance(0.5);
    hud.flash("Second", "exclamationmark.triangle.fill", "#FF9F0A");
    EXPECT_EQ(bubble->text, "Second");
    EXPECT_EQ(bubble->tintHex, "#FF9F0A");
    queue.advance(1.29);
    EXPECT_TRUE(bubble->visible);
    EXPECT_EQ(bubble->animatingAlphaTo, 1.0);
    queue.advance(0.21);
    EXPECT_FALSE(bubble->visible);
    EXPECT_EQ(bubble->builds, 1);
}

TEST_F(HUDTest, AFlashDuringTheFadeOutKeepsTheBubble) {
    hud.flash("First", "info.circle");
    queue.advance(1.4); // fading out
    hud.flash("Second", "info.circle");
    EXPECT_DOUBLE_EQ(bubble->alpha, 0);
    queue.advance(0.2); // the first fade's end passes
    EXPECT_TRUE(bubble->visible);
    queue.advance(1.31);
    EXPECT_FALSE(bubble->visible);
}

TEST_F(HUDTest, KeepsItsOriginWithoutAnyScreenAndFallsBackToTheMainOne) {
    screens.pointer = {-4000, -4000};
    hud.flash("Off every screen", "info.circle");
    EXPECT_EQ(bubble->origin, (Point{720 - (60 + 8 * 16) / 2.0, 450 - 23}));
    const Point before = bubble->origin;
    screens.layout.clear();
    hud.flash("No screen", "info.circle");
    EXPECT_EQ(bubble->origin, before);
}

} // namespace
