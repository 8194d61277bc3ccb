#include "editor/SliceEdits.h"

#include "editor/EditorRig.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testing::wheel;

TEST(PositionName, FollowsTheCompassForEachSlotCount) {
    struct Row {
        int count;
        std::vector<std::string> names;
    };
    const std::vector<Row> rows{
        {8, {"Top", "Top-Right", "Right", "Bottom-Right", "Bottom", "Bottom-Left", "Left", "Top-Left"}},
        {5, {"Top", "Right", "Bottom-Right", "Bottom-Left", "Left"}},
        {6, {"Top", "Top-Right", "Bottom-Right", "Bottom", "Bottom-Left", "Top-Left"}},
        {12,
         {"Top", "Top-Right", "Top-Right", "Right", "Bottom-Right", "Bottom-Right", "Bottom", "Bottom-Left",
          "Bottom-Left", "Left", "Top-Left", "Top-Left"}},
    };
    for (const Row& row : rows)
        for (int p = 0; p < row.count; ++p)
            EXPECT_EQ(positionName(p, row.count), row.names[static_cast<std::size_t>(p)])
                << row.count << "/" << p;
    EXPECT_EQ(positionName(2, 0), "Position 3");
}

TEST(FirstEmptyPosition, IsTheLowestFreeSlotInsideTheWheel) {
    struct Row {
        int count;
        std::vector<int> filled;
        std::optional<int> free;
    };
    const std::vector<Row> rows{
        {8, {}, 0},  {8, {0, 1, 3}, 2},     {4, {0, 1, 2, 3}, std::nullopt},
        {8, {9}, 0}, {0, {}, std::nullopt}, {5, {4, 3, 0}, 1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(firstEmptyPosition(wheel("w", "W", row.count, row.filled)), row.free);
}

TEST(SwapSlices, TradesOrMovesAndReportsWhichHappened) {
    struct Row {
        std::vector<int> filled;
        int from, to;
        bool moved, exchanged;
        std::vector<int> positionsAfter;
    };
    const std::vector<Row> rows{
        {{1, 6}, 1, 6, true, true, {6, 1}},   {{1}, 1, 6, true, false, {6}}, {{6}, 1, 6, false, false, {6}},
        {{2, 3}, 2, 2, false, false, {2, 3}}, {{}, 0, 1, false, false, {}},
    };
    for (const Row& row : rows) {
        Wheel w = wheel("w", "W", 8, row.filled);
        const auto outcome = swapSlices(w, row.from, row.to);
        EXPECT_EQ(outcome.moved, row.moved);
        EXPECT_EQ(outcome.exchanged, row.exchanged);
        std::vector<int> after;
        for (const Slice& s : w.slices)
            after.push_back(s.position);
        EXPECT_EQ(after, row.positionsAfter);
    }
}

TEST(SliceEdits, WritingAnEmptySlotAddsAndAFilledOneReplacesTheFirst) {
    Wheel w = wheel("w", "W", 8, {2});
    Slice second = testing::slice(2, "second");
    w.slices.push_back(second); // a hand-edited file may hold two at one slot
    Slice replacement = testing::slice(2, "new");
    writeSlice(w, replacement);
    ASSERT_EQ(w.slices.size(), 2u);
    EXPECT_EQ(w.slices[0].label, "new");
    EXPECT_EQ(w.slices[1].label, "second");
    writeSlice(w, testing::slice(5, "five"));
    EXPECT_EQ(w.slices.back().label, "five");

    removeSlicesAt(w, 2);
    ASSERT_EQ(w.slices.size(), 1u);
    EXPECT_FALSE(addSliceIfEmpty(w, newActionSlice(5)));
    EXPECT_TRUE(addSliceIfEmpty(w, newActionSlice(0)));
    EXPECT_EQ(w.slices.back().label, "New Action");
    EXPECT_EQ(w.slices.back().icon, Icon{Icon::SfSymbol{"star.fill"}});
    EXPECT_EQ(w.slices.back().action, MacroAction{MacroAction::Text{""}});
}

TEST(SliceEdits, ReducingCountsOnlyTheSlicesBeyond) {
    Wheel w = wheel("w", "W", 8, {0, 5, 6, 7});
    EXPECT_EQ(slicesBeyond(w, 6), 2);
    EXPECT_EQ(slicesBeyond(w, 8), 0);
    EXPECT_EQ(slicesBeyond(w, 12), 0);
    setSliceCount(w, 6);
    EXPECT_EQ(w.sliceCount, 6);
    ASSERT_EQ(w.slices.size(), 2u);
    EXPECT_EQ(w.slices[1].position, 5);
}

} // namespace
} // namespace rondelix
