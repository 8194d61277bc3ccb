#include "overlay/SliceDrag.h"

#include <gtest/gtest.h>

using rondelix::Point;
using rondelix::SliceDrag;
using rondelix::SliceGesture;

namespace {
// Side 320, 8 slots: slot centres on the mid radius 111.
const Point slot1{238.5, 81.5};
const Point slot3{238.5, 238.5};
const Point hub{160, 160};

SliceGesture gesture(int position, bool filled, bool swap = true) {
    return {position, filled, swap, 320, 8};
}
} // namespace

TEST(SliceDrag, HighlightPrefersTheAimThenTheDropTargetThenHover) {
    SliceDrag drag;
    EXPECT_EQ(rondelix::highlightedSlot(std::nullopt, drag, 4), 4);
    drag.target = 2;
    EXPECT_EQ(rondelix::highlightedSlot(std::nullopt, drag, 4), 2);
    EXPECT_EQ(rondelix::highlightedSlot(6, drag, 4), 6);
    EXPECT_EQ(rondelix::highlightedSlot(std::nullopt, SliceDrag{}, std::nullopt), std::nullopt);
}

TEST(SliceDrag, TheSourceCountsAsDraggedOnlyPastSixPoints) {
    SliceDrag drag;
    gesture(1, true).changed(drag, {6, 0}, slot1);
    EXPECT_EQ(drag.source, 1);
    EXPECT_EQ(rondelix::draggingSource(drag), std::nullopt);
    EXPECT_EQ(drag.target, std::nullopt);
    gesture(1, true).changed(drag, {6, 0.1}, slot3);
    EXPECT_EQ(rondelix::draggingSource(drag), 1);
    EXPECT_EQ(drag.target, 3);
    // Over the hub the target clears; back under the threshold it stays.
    gesture(1, true).changed(drag, {-80, 80}, hub);
    EXPECT_EQ(drag.target, std::nullopt);
    gesture(1, true).changed(drag, {20, 0}, slot3);
    gesture(1, true).changed(drag, {2, 0}, hub);
    EXPECT_EQ(drag.target, 3);
}

TEST(SliceDrag, EmptySlotsAndHostsWithoutSwappingNeverDrag) {
    SliceDrag drag;
    gesture(5, false).changed(drag, {20, 0}, slot3);
    gesture(1, true, false).changed(drag, {20, 0}, slot3);
    EXPECT_EQ(drag, SliceDrag{});
    EXPECT_EQ(gesture(5, false).ended({20, 0}, slot3).tap, 5);
    EXPECT_EQ(gesture(1, true, false).ended({80, 80}, slot3).tap, 1);
}

TEST(SliceDrag, ShortMovesTapAndLongDragsOfFilledSlotsDrop) {
    EXPECT_EQ(gesture(5, false).ended({}, slot1).tap, 5);
    EXPECT_EQ(gesture(1, true).ended({4, 0}, slot1).tap, 1);

    const auto swap = gesture(1, true).ended({0, 157}, slot3);
    EXPECT_EQ(swap.swap, std::make_pair(1, 3));
    EXPECT_EQ(swap.tap, std::nullopt);
    EXPECT_TRUE(swap.dropped);

    for (const Point end : {hub, Point{0, 0}, slot1}) {
        const auto nothing = gesture(1, true).ended({30, 30}, end);
        EXPECT_TRUE(nothing.dropped);
        EXPECT_EQ(nothing.swap, std::nullopt);
        EXPECT_EQ(nothing.tap, std::nullopt);
    }
}
