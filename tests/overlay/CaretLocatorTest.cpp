#include "overlay/CaretLocator.h"

#include "platform/sim/SimAccessibility.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimScreens.h"

#include <gtest/gtest.h>
#include <limits>

using namespace rondelix;
using platform::Rect;
using Element = platform::sim::SimAccessibility::Element;

namespace {

class CaretLocatorTest : public ::testing::Test {
  protected:
    CaretLocatorTest() { screens.layout = {{{0, 0, 1440, 900}, {0, 0, 1440, 875}}}; }

    std::optional<Rect> locate(const std::optional<Element>& focused) {
        accessibility.focused = focused;
        return CaretLocator::caretRect(accessibility, screens, queue);
    }

    platform::sim::SimMainQueue queue;
    platform::sim::SimScreens screens;
    platform::sim::SimAccessibility accessibility;
};

TEST_F(CaretLocatorTest, FindsTheCaretLineFlippedToBottomLeft) {
    Element field;
    field.selectedTextRange = platform::TextRange{12, 0};
    field.caretBounds = Rect{0, 0, 0, 20};
    field.frame = Rect{0, 0, 300, 30};
    EXPECT_EQ(locate(field), (Rect{0, 880, 0, 20}));
    EXPECT_DOUBLE_EQ(accessibility.systemTimeout, 0.05);
    EXPECT_DOUBLE_EQ(accessibility.elementTimeout, 0.05);
}

TEST_F(CaretLocatorTest, FallsBackToSelectionThenFrameThenPositionAndSize) {
    Element field;
    field.selectedTextRange = platform::TextRange{3, 5};
    field.caretBounds = Rect{10, 100, 0, 0};
    field.selectionBounds = Rect{10, 100, 40, 18};
    EXPECT_EQ(locate(field), (Rect{10, 782, 40, 18}));

    field.selectionBounds = Rect{std::numeric_limits<double>::quiet_NaN(), 100, 40, 18};
    field.frame = Rect{5, 95, 200, 30};
    EXPECT_EQ(locate(field), (Rect{5, 775, 200, 30}));

    Element button;
    button.frame = Rect{50, 60, 0, 0};
    button.position = platform::Point{50, 60};
    button.size = platform::Size{80, 24};
    EXPECT_EQ(locate(button), (Rect{50, 816, 80, 24}));
    button.size = platform::Size{80, 0};
    EXPECT_FALSE(locate(button));
}

TEST_F(CaretLocatorTest, AnswersNoneWhenNothingAnswersOrTimeRunsOut) {
    EXPECT_FALSE(locate(std::nullopt));
    EXPECT_FALSE(locate(Element{}));

    // Slow answers: after the unusable caret the deadline has passed, so
    // neither the selection nor the frame is asked for.
    Element slow;
    slow.selectedTextRange = platform::TextRange{0, 4};
    slow.caretBounds = Rect{0, 0, 2, 0};
    slow.selectionBounds = Rect{0, 0, 30, 18};
    slow.frame = Rect{0, 0, 300, 30};
    accessibility.clock = &queue;
    accessibility.queryCost = 0.04;
    accessibility.queries = 0;
    EXPECT_FALSE(locate(slow));
    EXPECT_EQ(accessibility.queries, 3);
}

TEST_F(CaretLocatorTest, LeavesTheRectangleAsItIsWithoutScreens) {
    screens.layout.clear();
    Element field;
    field.selectedTextRange = platform::TextRange{0, 0};
    field.caretBounds = Rect{7, 8, 1, 16};
    EXPECT_EQ(locate(field), (Rect{7, 8, 1, 16}));
}

} // namespace
