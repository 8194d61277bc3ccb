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

TEST_F(CaretLocatorTest, GarbageAnswersFallThroughAndNeverLeaveTheScreens) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double huge = 1e12;
    struct Case {
        const char* what;
        Rect caret;
        std::optional<Rect> frame;
        std::optional<Rect> expected;
    };
    const Case cases[] = {
        {"NaN caret, frame answers", {nan, 10, 0, 20}, Rect{5, 95, 200, 30}, Rect{5, 775, 200, 30}},
        {"negative width", {10, 10, -4, 20}, Rect{5, 95, 200, 30}, Rect{5, 775, 200, 30}},
        {"huge caret far right", {huge, 10, 0, 20}, Rect{5, 95, 200, 30}, Rect{5, 775, 200, 30}},
        {"caret above every screen", {10, -5000, 0, 20}, std::nullopt, std::nullopt},
        {"caret and frame both off screen", {-9000, 10, 0, 20}, Rect{-9000, 0, 300, 30}, std::nullopt},
        {"caret on the screen's last row", {1440, 880, 0, 20}, std::nullopt, Rect{1440, 0, 0, 20}},
    };
    for (const auto& c : cases) {
        Element field;
        field.selectedTextRange = platform::TextRange{4, 0};
        field.caretBounds = c.caret;
        field.frame = c.frame;
        EXPECT_EQ(locate(field), c.expected) << c.what;
    }
}

TEST_F(CaretLocatorTest, ACaretOutsideItsFieldOrAtTheOriginWithNoFieldIsNoCaretAndNothingElseIsTrusted) {
    struct Case {
        const char* what;
        Rect caret;
        std::optional<Rect> frame;
        std::optional<Rect> expected;
    };
    const Case cases[] = {
        {"at the origin, field elsewhere", {0, 0, 1, 17}, Rect{300, 200, 600, 400}, std::nullopt},
        {"at the origin, no field", {0, 0, 0, 17}, std::nullopt, std::nullopt},
        {"beside its field", {100, 210, 1, 17}, Rect{300, 200, 600, 400}, std::nullopt},
        {"on its field's edge", {300, 200, 1, 17}, Rect{300, 200, 600, 400}, Rect{300, 683, 1, 17}},
        {"field at the origin", {0, 0, 1, 17}, Rect{0, 0, 600, 400}, Rect{0, 883, 1, 17}},
    };
    for (const auto& c : cases) {
        Element field;
        field.selectedTextRange = platform::TextRange{4, 3};
        field.caretBounds = c.caret;
        field.selectionBounds = Rect{320, 220, 40, 17}; // not asked once the caret is found wanting
        field.frame = c.frame;
        EXPECT_EQ(locate(field), c.expected) << c.what;
    }
}

TEST_F(CaretLocatorTest, AHangingProgramHoldsTheSummonForTheDeadlinePlusOneTimeOutAtMost) {
    // Every fallback is needed: the caret has no height, the selection is
    // NaN, the frame is empty; position and size answer. Each of the seven
    // queries either answers at once or just before the messaging time-out.
    Element field;
    field.selectedTextRange = platform::TextRange{4, 2};
    field.caretBounds = Rect{10, 10, 0, 0};
    field.selectionBounds = Rect{std::numeric_limits<double>::quiet_NaN(), 10, 20, 18};
    field.frame = Rect{10, 10, 0, 0};
    field.position = platform::Point{10, 10};
    field.size = platform::Size{200, 30};
    accessibility.clock = &queue;
    const double slow = CaretLocator::messagingTimeout - 0.001;
    for (unsigned pattern = 0; pattern < (1u << 7); ++pattern) {
        accessibility.queryCosts.clear();
        for (unsigned query = 0; query < 7; ++query)
            accessibility.queryCosts.push_back(pattern & (1u << query) ? slow : 0);
        accessibility.queries = 0;
        const double start = queue.now();
        const auto found = locate(field);
        EXPECT_LE(queue.now() - start, CaretLocator::searchDeadline + CaretLocator::messagingTimeout)
            << "pattern " << pattern;
        if (found) {
            EXPECT_EQ(*found, (Rect{10, 860, 200, 30})) << "pattern " << pattern;
        }
    }
}

TEST_F(CaretLocatorTest, LeavesTheRectangleAsItIsWithoutScreens) {
    screens.layout.clear();
    Element field;
    field.selectedTextRange = platform::TextRange{0, 0};
    field.caretBounds = Rect{7, 8, 1, 16};
    EXPECT_EQ(locate(field), (Rect{7, 8, 1, 16}));
}

} // namespace
