#include "WheelRendering.h"
#include "overlay/ui/WheelGraphic.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace rondelix;
using rondelix::testing::makeSlice;

namespace {

// Side 320, 8 slots, slots 0 to 4 filled.
class WheelInteraction : public ::testing::Test {
  protected:
    void SetUp() override {
        graphic.resize(320, 320);
        graphic.setReduceMotion(true);
        inputs.wheel.id = "w";
        for (int p = 0; p < 5; ++p)
            inputs.wheel.slices.push_back(
                makeSlice(p, "Slice " + std::to_string(p),
                          p == 1 ? Icon(Icon::Emoji{"🚀"}) : Icon(Icon::SfSymbol{"star.fill"})));
        inputs.onTapSlice = [this](int p) { taps.push_back(p); };
        inputs.onSwapSlice = [this](int from, int to) { swaps.emplace_back(from, to); };
    }

    QPointF slot(int position) const {
        const Point p = WheelGeometry{320}.slotPoint(position, 8);
        return {p.x, p.y};
    }

    void send(QEvent::Type type, QPointF at, Qt::MouseButtons buttons = Qt::NoButton) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, at, graphic.mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&graphic, &event);
    }
    void press(QPointF at) { send(QEvent::MouseButtonPress, at, Qt::LeftButton); }
    void move(QPointF at, bool held = true) {
        send(QEvent::MouseMove, at, held ? Qt::LeftButton : Qt::NoButton);
    }
    void release(QPointF at) { send(QEvent::MouseButtonRelease, at); }
    void drag(QPointF from, QPointF to) {
        press(from);
        move((from + to) / 2);
        move(to);
        release(to);
    }

    WheelGraphic graphic;
    WheelGraphic::Inputs inputs;
    std::vector<int> taps;
    std::vector<std::pair<int, int>> swaps;
};

} // namespace

TEST_F(WheelInteraction, WithoutCallbacksThePointerIsIgnored) {
    inputs.onTapSlice = nullptr;
    graphic.setInputs(inputs);
    move(slot(2), false);
    drag(slot(1), slot(3));
    EXPECT_EQ(graphic.hoveredPosition(), std::nullopt);
    EXPECT_EQ(graphic.sliceDrag(), SliceDrag{});
    EXPECT_TRUE(swaps.empty());
}

TEST_F(WheelInteraction, HoverFollowsThePointerUntilItLeavesAndYieldsToTheAim) {
    graphic.setInputs(inputs);
    move(slot(2), false);
    EXPECT_EQ(graphic.highlighted(), 2);
    move(slot(3), false);
    EXPECT_EQ(graphic.hoveredPosition(), 3);
    move({160, 160}, false);
    EXPECT_EQ(graphic.hoveredPosition(), std::nullopt);
    move(slot(6), false);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&graphic, &leave);
    EXPECT_EQ(graphic.hoveredPosition(), std::nullopt);

    move(slot(6), false);
    inputs.aimedPosition = 1;
    graphic.setInputs(inputs);
    EXPECT_EQ(graphic.highlighted(), 1);
}

TEST_F(WheelInteraction, EmptySlotsReportTapsForClicksAndDragsAlike) {
    graphic.setInputs(inputs);
    press(slot(5));
    release(slot(5));
    press(slot(5));
    move(slot(5) + QPointF(20, 0));
    EXPECT_EQ(graphic.draggingSource(), std::nullopt);
    release(slot(5) + QPointF(20, 0));
    EXPECT_EQ(taps, std::vector<int>({5, 5}));
    EXPECT_TRUE(swaps.empty());
}

TEST_F(WheelInteraction, DraggingAFilledSlotOntoAnotherSwapsThem) {
    graphic.setInputs(inputs);
    press(slot(1));
    move(slot(1) + QPointF(4, 0));
    release(slot(1) + QPointF(4, 0));
    EXPECT_EQ(taps, std::vector<int>({1}));

    move(slot(6), false);
    press(slot(1));
    move(slot(3));
    EXPECT_EQ(graphic.draggingSource(), 1);
    EXPECT_EQ(graphic.highlighted(), 3);
    // Hover eases in whatever the motion setting: jump to the end to see it.
    for (auto* animation : graphic.findChildren<QAbstractAnimation*>())
        animation->setCurrentTime(animation->totalDuration());
    const QImage dragging = rondelix::testing::render(graphic, 320);
    // The slot under the pointer takes the accent fill.
    const QColor target = rondelix::testing::slotPixel(dragging, 3, 8, 150);
    EXPECT_GT(target.blue(), target.red() + 100);
    EXPECT_TRUE(rondelix::testing::saveArtifact(dragging, QStringLiteral("wheel-drag-320.png")));
    release(slot(3));
    EXPECT_EQ(swaps, (std::vector<std::pair<int, int>>{{1, 3}}));
    EXPECT_EQ(taps.size(), 1u);
    EXPECT_EQ(graphic.hoveredPosition(), std::nullopt);
    EXPECT_EQ(graphic.sliceDrag(), SliceDrag{});

    drag(slot(1), {160, 160});
    drag(slot(1), slot(1) + QPointF(0, 10));
    EXPECT_EQ(swaps.size(), 1u);
    EXPECT_EQ(taps.size(), 1u);
}

TEST_F(WheelInteraction, ASourceDraggedOverItselfKeepsTheEmptyFillButCatchesTheSheen) {
    // No accent, so no glow: what lights the slot is the sheen alone.
    inputs.accentStrength = 0;
    graphic.setInputs(inputs);
    const QPointF outward = slot(1) + QPointF(39 * M_SQRT1_2, -39 * M_SQRT1_2);
    press(slot(1));
    move(outward);
    EXPECT_EQ(graphic.draggingSource(), 1);
    EXPECT_EQ(graphic.highlighted(), 1);
    const QImage image = rondelix::testing::render(graphic, 320);
    const QColor nearHub = image.pixelColor(qRound(160 + 70 * M_SQRT1_2), qRound(160 - 70 * M_SQRT1_2));
    EXPECT_GT(nearHub.alpha(), 30);
    EXPECT_GT(nearHub.red(), 150);
    release(outward);
}

TEST_F(WheelInteraction, WithoutSwappingALongDragTapsWhereItStarted) {
    inputs.onSwapSlice = nullptr;
    graphic.setInputs(inputs);
    drag(slot(1), slot(3));
    EXPECT_EQ(taps, std::vector<int>({1}));
}

TEST_F(WheelInteraction, AReleasedSliceSpringsBackUnlessMotionIsReduced) {
    graphic.setReduceMotion(false);
    graphic.setInputs(inputs);
    drag(slot(1), {160, 160});
    EXPECT_TRUE(graphic.isAnimating());

    graphic.setReduceMotion(true);
    graphic.setInputs(inputs);
    drag(slot(2), {160, 160});
    EXPECT_FALSE(graphic.isAnimating());
}
