#include "overlay/OverlayController.h"

#include "model/WheelState.h"
#include "platform/sim/SimAccessibility.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimScreens.h"
#include "support/SimOverlaySurface.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace rondelix;
using platform::Point;
using platform::Rect;
using Position = Behavior::Position;

namespace {

// A laptop screen with a top panel, and a larger screen to its right, set
// higher, with a dock along its bottom. D = 320 gives margin 98, panel 516.
std::vector<platform::Screen> twoScreens() {
    return {{{0, 0, 1440, 900}, {0, 0, 1440, 875}}, {{1440, 100, 1920, 1080}, {1440, 170, 1920, 1010}}};
}

class OverlayControllerTest : public ::testing::Test {
  protected:
    OverlayControllerTest() {
        screens.layout = twoScreens();
        controller = std::make_unique<OverlayController>(
            state, [this] { return behavior; },
            OverlayController::Services{queue, screens, accessibility, escape}, panels.factory());
    }

    Point origin() { return panels.last().frame.origin(); }
    Point showAt(Position position, Point pointer) {
        behavior.position = position;
        screens.pointer = pointer;
        controller->show(screens.pointer);
        return origin();
    }
    void useCloseFade() {
        behavior.closeFadeEnabled = true;
        behavior.closeFadeMs = 150;
    }
    // Accessibility answers with the origin at the top left of the primary screen.
    void caretAt(Rect bottomLeft) {
        const double primaryHeight = screens.layout.front().frame.height;
        platform::sim::SimAccessibility::Element element;
        element.selectedTextRange = platform::TextRange{4, 0};
        element.caretBounds = Rect{bottomLeft.x, primaryHeight - bottomLeft.y - bottomLeft.height,
                                   bottomLeft.width, bottomLeft.height};
        accessibility.focused = element;
    }

    platform::sim::SimMainQueue queue;
    platform::sim::SimScreens screens;
    platform::sim::SimAccessibility accessibility;
    testsupport::SimEscapeMonitor escape;
    testsupport::SimPanelFactory panels;
    WheelState state;
    Behavior behavior;
    std::unique_ptr<OverlayController> controller;
};

TEST_F(OverlayControllerTest, PlacesAtEachPositionOnTheSecondScreen) {
    EXPECT_EQ(showAt(Position::cursor, {2400, 600}), (Point{2142, 342}));
    EXPECT_EQ(panels.last().frame.size(), (platform::Size{516, 516}));
    EXPECT_TRUE(state.isVisible());

    // Centred in the visible frame (above the dock), not on the pointer.
    EXPECT_EQ(showAt(Position::screenCenter, {1500, 1100}), (Point{2142, 417}));

    // The disc's top edge 8 pt below the caret's bottom edge.
    caretAt({2000, 582, 2, 18});
    EXPECT_EQ(showAt(Position::textCaret, {100, 100}), (Point{1743, 156}));
    EXPECT_EQ(panels.built.size(), 1u);
}

TEST_F(OverlayControllerTest, TellsTheEngineWhereTheOpenWheelIs) {
    EXPECT_FALSE(controller->visiblePanel());
    showAt(Position::cursor, {2400, 600});
    const auto panel = controller->visiblePanel();
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->centerX, 2400);
    EXPECT_EQ(panel->centerY, 600);
    EXPECT_EQ(panel->wheelDiameter, 320);
    controller->hide();
    EXPECT_FALSE(controller->visiblePanel());
}

TEST_F(OverlayControllerTest, ClampsTheDiscSixteenPointsInsideTheVisibleFrame) {
    // 5 pt from the right edge: the disc's right edge lands 16 pt inside.
    const Point right = showAt(Position::cursor, {1435, 500});
    EXPECT_DOUBLE_EQ(right.x + 98 + 320, 1440 - 16);
    // Under the top panel of the primary screen, and in the bottom-left corner.
    EXPECT_DOUBLE_EQ(showAt(Position::cursor, {700, 899}).y + 98 + 320, 875 - 16);
    EXPECT_EQ(showAt(Position::cursor, {1, 1}), (Point{16 - 98, 16 - 98}));
    // Near the dock of the second screen: clamped to that screen, not the first.
    EXPECT_DOUBLE_EQ(showAt(Position::cursor, {1500, 150}).y, 170 + 16 - 98);
}

TEST_F(OverlayControllerTest, CaretPlacementGoesAboveThenFallsBackToThePointer) {
    // Near the bottom of the second screen: no room below, so above the caret.
    caretAt({2000, 200, 2, 18});
    EXPECT_DOUBLE_EQ(showAt(Position::textCaret, {2400, 600}).y, 218 + 8 - 98);

    // A screen too low for the wheel above or below: at the pointer.
    screens.layout = {{{0, 0, 800, 400}, {0, 0, 800, 400}}};
    caretAt({300, 190, 2, 18});
    EXPECT_EQ(showAt(Position::textCaret, {400, 200}), (Point{400 - 258, 200 - 258}));

    // No focused element at all: at the pointer, clamped like a cursor summon.
    screens.layout = twoScreens();
    accessibility.focused.reset();
    EXPECT_EQ(showAt(Position::textCaret, {2400, 600}), (Point{2142, 342}));
}

TEST_F(OverlayControllerTest, ASecondHideDuringTheFadeRunsOneFade) {
    useCloseFade();
    controller->show(screens.pointer);
    controller->hide();
    queue.advance(0.1);
    controller->hide();
    EXPECT_TRUE(panels.last().visible);
    EXPECT_TRUE(state.isVisible());
    queue.advance(0.05);
    EXPECT_FALSE(panels.last().visible);
    EXPECT_FALSE(state.isVisible());
    EXPECT_EQ(panels.last().alphaAnimations, 1);
    EXPECT_DOUBLE_EQ(panels.last().alpha, 0.9);
}

TEST_F(OverlayControllerTest, APresentDuringTheFadeKeepsTheWheelUp) {
    useCloseFade();
    controller->show(screens.pointer);
    state.setAimedPosition(1);
    controller->hide();
    queue.advance(0.1);
    controller->show(screens.pointer);
    EXPECT_FALSE(controller->closing());
    queue.advance(0.2);
    EXPECT_TRUE(panels.last().visible);
    EXPECT_TRUE(state.isVisible());
    EXPECT_EQ(state.aimedPosition(), 1);
    EXPECT_DOUBLE_EQ(panels.last().alpha, 0.9);

    // Hide, present and hide again: the first fade's late end is stale.
    controller->hide();
    queue.advance(0.1);
    controller->show(screens.pointer);
    queue.advance(0.02);
    controller->hide();
    queue.advance(0.04); // the first fade ends here
    EXPECT_TRUE(panels.last().visible);
    queue.advance(0.12);
    EXPECT_FALSE(panels.last().visible);
}

TEST_F(OverlayControllerTest, HidesAtOnceWithoutAFade) {
    behavior.closeFadeEnabled = true;
    behavior.closeFadeMs = 0;
    controller->show(screens.pointer);
    state.setAimedPosition(3);
    controller->hide();
    EXPECT_FALSE(panels.last().visible);
    EXPECT_FALSE(state.isVisible());
    EXPECT_FALSE(state.aimedPosition());
    controller->hide(); // nothing shown: still fine

    // A desktop that cannot show the panel's alpha would only see the whole
    // wheel stand still for the fade's time.
    useCloseFade();
    controller->show(screens.pointer);
    screens.options.compositor = false;
    controller->hide();
    EXPECT_FALSE(panels.last().visible);
    EXPECT_FALSE(state.isVisible());
    EXPECT_EQ(panels.last().alphaAnimations, 0);

    // High contrast draws the wheel opaque, yet a compositor still shows
    // the whole window fading.
    screens.options.compositor = true;
    screens.options.increaseContrast = true;
    controller->show(screens.pointer);
    controller->hide();
    EXPECT_TRUE(panels.last().visible);
    EXPECT_EQ(panels.last().animatingAlphaTo, 0.0);
}

TEST_F(OverlayControllerTest, PrewarmNeverHidesAWheelSummonedMeanwhile) {
    controller->prewarm();
    EXPECT_TRUE(panels.last().visible);
    queue.advance(0.05);
    controller->show(screens.pointer);
    queue.advance(0.2);
    EXPECT_TRUE(panels.last().visible);
    EXPECT_TRUE(state.isVisible());
    EXPECT_EQ(panels.built.size(), 1u);
    // Taken on screen as it stands: putting it away first would cost the
    // summon a round of unmapping and mapping the window again.
    EXPECT_EQ(panels.last().orderOuts, 0);

    controller->hide();
    controller->prewarm(); // a panel exists: nothing to do
    EXPECT_EQ(panels.built.size(), 1u);
    EXPECT_FALSE(panels.last().visible);
}

TEST_F(OverlayControllerTest, PrewarmPutsItsInvisiblePanelAwayAfterAMoment) {
    controller->prewarm();
    EXPECT_EQ(panels.last().prewarms, 1);
    queue.advance(0.15);
    EXPECT_FALSE(panels.last().visible);
    EXPECT_FALSE(state.isVisible());
    EXPECT_EQ(controller->diagnosticsSummary().substr(0, 32), "built=320-false-false visible=fa");
}

TEST_F(OverlayControllerTest, RebuildsOnlyWhenSizeOrLookChanges) {
    controller->show(screens.pointer);
    controller->show(screens.pointer);
    EXPECT_EQ(panels.built.size(), 1u);
    behavior.wheelSize = 330;
    controller->show(screens.pointer);
    ASSERT_EQ(panels.built.size(), 2u);
    EXPECT_TRUE(panels.built[0]->released);
    EXPECT_FALSE(panels.built[0]->visible);

    // Reduce transparency: opaque, full alpha, and no glass even when asked for.
    behavior.liquidGlassEnabled = true;
    screens.options.reduceTransparency = true;
    controller->show(screens.pointer);
    EXPECT_TRUE(panels.last().options.opaque);
    EXPECT_FALSE(panels.last().options.glass);
    EXPECT_DOUBLE_EQ(panels.last().alpha, 1.0);
}

TEST_F(OverlayControllerTest, WhereNothingBlursBehindTheRingItKeepsItsContrastFloor) {
    panels.alphaFloor = 0.94;
    behavior.opacity = 0.6;
    controller->show(screens.pointer);
    EXPECT_DOUBLE_EQ(panels.last().alpha, 0.94);
    behavior.opacity = 0.97;
    controller->show(screens.pointer);
    EXPECT_DOUBLE_EQ(panels.last().alpha, 0.97) << "a floor, not a ceiling";
}

TEST_F(OverlayControllerTest, ReducedMotionOpensWithTheShortFadeOnly) {
    screens.options.reduceMotion = true;
    controller->show(screens.pointer);
    controller->present(320, Position::cursor, false);
    ASSERT_EQ(panels.last().openAnimations.size(), 1u);
    const OpenAnimation& open = panels.last().openAnimations.front();
    EXPECT_FALSE(open.scales());
    EXPECT_DOUBLE_EQ(open.fadeDuration(), 0.12);
}

TEST(OpenAnimation, TheSpringEndsOnceTheRimMovesLessThanHalfAPixel) {
    for (const double diameter : {160.0, 320.0, 480.0, 900.0}) {
        const OpenAnimation spring{.reduceMotion = false, .wheelDiameter = diameter};
        const double end = spring.scaleDuration();
        EXPECT_DOUBLE_EQ(spring.scaleAt(0), 0.85);
        EXPECT_GT(spring.scaleAt(0.2), 1.0) << diameter; // the spring overshoots
        double lateMove = 0;
        for (double t = end; t < end + 0.5; t += 0.001)
            lateMove = std::max(lateMove, std::abs(spring.scaleAt(t) - 1) * diameter / 2);
        EXPECT_LT(lateMove, 0.5) << diameter;
        EXPECT_TRUE(spring.movesRim(1.02, 1.02 - 1.1 / diameter)) << diameter;
        EXPECT_FALSE(spring.movesRim(0.9, 0.9 + 0.9 / diameter)) << diameter;
    }
    EXPECT_LT((OpenAnimation{.reduceMotion = false, .wheelDiameter = 480}.scaleDuration()), 0.45);
}

TEST_F(OverlayControllerTest, TestModeShowsAClickableWheelThatEscEnds) {
    int escapes = 0;
    controller->onTestEscape = [&] {
        ++escapes;
        controller->setTestModeActive(false);
        controller->removeTestEscMonitor();
        controller->hide();
    };
    controller->setTestMode(true);
    EXPECT_FALSE(panels.last().ignoresMouseEvents);
    EXPECT_FALSE(panels.last().dragHandleHidden);
    EXPECT_EQ(state.aimedPosition(), 2);
    EXPECT_TRUE(escape.pressEscape());
    EXPECT_EQ(escapes, 1);
    EXPECT_FALSE(panels.last().visible);
    EXPECT_FALSE(escape.pressEscape()); // the monitor is gone: Esc reaches the window

    // The close button ends it the same way; the next summon is click-through again.
    controller->setTestMode(true);
    panels.last().onClose();
    EXPECT_EQ(escapes, 2);
    controller->show(screens.pointer);
    EXPECT_TRUE(panels.last().ignoresMouseEvents);
    EXPECT_TRUE(panels.last().dragHandleHidden);
}

TEST_F(OverlayControllerTest, ResizingTheTestWheelKeepsItWhereItWasDragged) {
    controller->setTestMode(true);
    panels.last().frame = {442, 142, 516, 516}; // dragged: centre (700, 400)
    state.setAimedPosition(std::nullopt);
    behavior.wheelSize = 400;
    controller->refreshTestWheelSize();
    ASSERT_EQ(panels.built.size(), 2u);
    EXPECT_EQ(panels.last().frame.center(), (Point{700, 400}));
    EXPECT_EQ(state.aimedPosition(), 2);

    // A size preview while the test wheel is up changes nothing.
    controller->beginSizePreview();
    EXPECT_FALSE(controller->previewingSize());
    EXPECT_EQ(state.aimedPosition(), 2);
    EXPECT_TRUE(panels.last().openAnimations.empty());
}

TEST_F(OverlayControllerTest, TurningTestModeOnEndsASizePreview) {
    controller->beginSizePreview();
    EXPECT_TRUE(controller->previewingSize());
    EXPECT_FALSE(state.aimedPosition());
    controller->setTestMode(true);
    EXPECT_FALSE(controller->previewingSize());
    controller->show(screens.pointer);
    EXPECT_FALSE(controller->previewingSize());
}

TEST_F(OverlayControllerTest, SurvivesScreensThatChangeVanishOrHaveNoSize) {
    showAt(Position::cursor, {2400, 600});
    screens.layout.pop_back(); // the second screen is unplugged while the wheel is up
    EXPECT_NE(controller->diagnosticsSummary().find("onScreen=none"), std::string::npos);
    controller->hide();

    // The pointer is now off every screen: the main screen takes the wheel.
    const Point offScreen = showAt(Position::cursor, {2400, 600});
    EXPECT_DOUBLE_EQ(offScreen.x, 1440 - 16 - 98 - 320);
    EXPECT_EQ(showAt(Position::screenCenter, {-500, -500}), (Point{720 - 258, 437.5 - 258}));

    // A zero-size main screen: centred on it, no crash.
    screens.layout = {{{300, 300, 0, 0}, {300, 300, 0, 0}}};
    EXPECT_EQ(showAt(Position::cursor, {300, 300}), (Point{300 - 258, 300 - 258}));

    // No screen at all: the unclamped pointer origin, and a zero visible frame.
    screens.layout.clear();
    EXPECT_EQ(showAt(Position::cursor, {50, 60}), (Point{50 - 258, 60 - 258}));
    EXPECT_EQ(showAt(Position::screenCenter, {50, 60}), (Point{-258, -258}));
    EXPECT_EQ(showAt(Position::textCaret, {50, 60}), (Point{50 - 258, 60 - 258}));
}

TEST_F(OverlayControllerTest, DiagnosticsDescribeThePanel) {
    EXPECT_EQ(controller->diagnosticsSummary(), "(no panel built)");
    showAt(Position::cursor, {2400, 600});
    EXPECT_EQ(controller->diagnosticsSummary(),
              "built=320-false-false visible=true alpha=0.90 level=1(shield=1) "
              "coll=0x141 frame=2142,342 516x516 onScreen=1 closing=false "
              "preview=false wheel\u2300=320");
}

} // namespace
