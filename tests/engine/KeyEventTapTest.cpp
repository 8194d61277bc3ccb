#include "engine/KeyEventTap.h"

#include "engine/KeyCode.h"
#include "platform/sim/SimEventTaps.h"
#include "platform/sim/SimMainQueue.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

using platform::EventType;
using platform::InputEvent;
using platform::TapMode;
using platform::TapVerdict;
using platform::sim::SimEventTaps;
using platform::sim::SimMainQueue;

struct KeyEventTapTest : ::testing::Test {
    SimMainQueue queue;
    SimEventTaps taps{queue};
    KeyEventTap tap{taps};
    std::vector<EventType> handled;

    KeyEventTap::Handler recordAnd(TapVerdict verdict) {
        return [this, verdict](EventType type, const InputEvent&) {
            handled.push_back(type);
            return verdict;
        };
    }
};

TEST_F(KeyEventTapTest, InstallingTwiceKeepsOneTapWithTheSecondHandler) {
    int first = 0;
    ASSERT_TRUE(tap.install(TapMode::listenOnly, listenMask, [&](EventType, const InputEvent&) {
        ++first;
        return TapVerdict::pass;
    }));
    ASSERT_TRUE(tap.install(TapMode::listenOnly, listenMask, recordAnd(TapVerdict::pass)));

    taps.keyDown(0);
    EXPECT_EQ(taps.tapCount(TapMode::listenOnly), 1);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(handled, std::vector<EventType>{EventType::keyDown});
}

TEST_F(KeyEventTapTest, UninstallRemovesTheTapAndIsHarmlessWhenRepeated) {
    tap.uninstall();
    EXPECT_FALSE(tap.isInstalled());

    ASSERT_TRUE(tap.install(TapMode::intercepting, armedMask, recordAnd(TapVerdict::swallow)));
    tap.uninstall();
    tap.uninstall();
    taps.keyDown(0);
    EXPECT_FALSE(tap.isInstalled());
    EXPECT_EQ(taps.tapCount(TapMode::intercepting), 0);
    EXPECT_TRUE(handled.empty());
    EXPECT_EQ(taps.reachedApplications().size(), 1u);
}

TEST_F(KeyEventTapTest, DestroyingAnInstalledTapRemovesIt) {
    {
        KeyEventTap scoped(taps);
        ASSERT_TRUE(scoped.install(TapMode::intercepting, armedMask, recordAnd(TapVerdict::swallow)));
        EXPECT_EQ(taps.tapCount(TapMode::intercepting), 1);
    }
    taps.keyDown(0);
    EXPECT_EQ(taps.tapCount(TapMode::intercepting), 0);
    EXPECT_EQ(taps.reachedApplications().size(), 1u);
}

TEST_F(KeyEventTapTest, AFailedInstallAnswersFalseAndLeavesNoTap) {
    taps.failInstalls(TapMode::intercepting, true);
    EXPECT_FALSE(tap.install(TapMode::intercepting, armedMask, recordAnd(TapVerdict::swallow)));
    EXPECT_FALSE(tap.isInstalled());
    EXPECT_FALSE(tap.isEnabled());

    taps.failInstalls(TapMode::intercepting, false);
    EXPECT_TRUE(tap.install(TapMode::intercepting, armedMask, recordAnd(TapVerdict::swallow)));
    EXPECT_TRUE(tap.isEnabled());
}

TEST_F(KeyEventTapTest, ATimeOutNoticeSwitchesTheTapBackOnAndIsNotHandedToTheHandler) {
    ASSERT_TRUE(tap.install(TapMode::intercepting, armedMask, recordAnd(TapVerdict::swallow)));
    taps.disableTap(TapMode::intercepting, EventType::tapDisabledByTimeout);

    EXPECT_TRUE(tap.isEnabled());
    EXPECT_TRUE(handled.empty());
    taps.keyDown(53);
    EXPECT_EQ(handled, std::vector<EventType>{EventType::keyDown});
    EXPECT_TRUE(taps.reachedApplications().empty());
}

TEST_F(KeyEventTapTest, AUserInputNoticeLeavesTheTapOffForTheWatchdog) {
    ASSERT_TRUE(tap.install(TapMode::intercepting, armedMask, recordAnd(TapVerdict::swallow)));
    taps.disableTap(TapMode::intercepting, EventType::tapDisabledByUserInput);

    EXPECT_TRUE(tap.isInstalled());
    EXPECT_FALSE(tap.isEnabled());
    taps.keyDown(53);
    EXPECT_TRUE(handled.empty());
    EXPECT_EQ(taps.reachedApplications().size(), 1u);
}

TEST_F(KeyEventTapTest, OnlyTheMaskedEventTypesReachTheHandler) {
    ASSERT_TRUE(tap.install(TapMode::listenOnly, listenMask, recordAnd(TapVerdict::pass)));
    taps.keyDown(0);
    taps.keyUp(0);
    taps.modifier(58, true);
    taps.buttonDown(3);
    taps.buttonUp(3);
    // Outside the listen mask: the left and right buttons, moves, scrolling.
    taps.buttonDown(0);
    taps.buttonDown(1);
    taps.mouseMoved();
    taps.scroll(1, 0);
    EXPECT_EQ(handled, (std::vector<EventType>{EventType::keyDown, EventType::keyUp, EventType::flagsChanged,
                                               EventType::otherMouseDown, EventType::otherMouseUp}));
}

TEST_F(KeyEventTapTest, AHandlerMayReinstallOrRemoveItsOwnTapWhileItRuns) {
    int calls = 0;
    ASSERT_TRUE(tap.install(TapMode::intercepting, armedMask, [&](EventType, const InputEvent&) {
        ++calls;
        tap.install(TapMode::intercepting, armedMask, [&](EventType, const InputEvent&) {
            ++calls;
            tap.uninstall();
            return TapVerdict::swallow;
        });
        return TapVerdict::swallow;
    }));
    taps.keyDown(0);
    taps.keyDown(1);
    taps.keyDown(2);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(tap.isInstalled());
    EXPECT_EQ(taps.reachedApplications().size(), 1u);
}

// The engine's handlers let the program's own events through before anything
// else; these tests hold the platform to its half: what the program posts
// comes back marked, and what the user types never is.
TEST_F(KeyEventTapTest, PostedKeysComeBackMarkedAndPassAHandlerThatHonoursTheMarker) {
    KeyEventTap listen(taps);
    std::vector<InputEvent> heard;
    ASSERT_TRUE(listen.install(TapMode::listenOnly, listenMask, [&](EventType, const InputEvent& event) {
        heard.push_back(event);
        return TapVerdict::pass;
    }));
    ASSERT_TRUE(tap.install(TapMode::intercepting, armedMask, [](EventType, const InputEvent& event) {
        return event.sourceUserData == platform::programEventMarker ? TapVerdict::pass : TapVerdict::swallow;
    }));

    taps.keyDown(9);
    taps.keyUp(9);
    taps.postKey(9, true, ModifierFlag::command);
    taps.postKey(9, false, ModifierFlag::command);
    EXPECT_TRUE(taps.reachedApplications().empty()) << "posting is delivered on the main queue";
    queue.runPending();

    ASSERT_EQ(taps.reachedApplications().size(), 2u);
    for (const auto& event : taps.reachedApplications()) {
        EXPECT_EQ(event.keyCode, 9);
        EXPECT_EQ(event.sourceUserData, platform::programEventMarker);
        EXPECT_EQ(event.flags, ModifierFlag::command);
    }
    ASSERT_EQ(taps.swallowedBy(TapMode::intercepting).size(), 2u);
    EXPECT_EQ(taps.swallowedBy(TapMode::intercepting)[0].sourceUserData, 0u);
    // The intercepting tap came later, so it sits ahead of the listen tap:
    // the swallowed user keys never reached the listen tap.
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].sourceUserData, platform::programEventMarker);
}

TEST_F(KeyEventTapTest, EventsInjectedAtVirtualTimesArriveInTimeOrder) {
    ASSERT_TRUE(tap.install(TapMode::listenOnly, listenMask, recordAnd(TapVerdict::pass)));
    InputEvent up;
    up.type = EventType::keyUp;
    InputEvent down;
    down.type = EventType::keyDown;
    taps.injectAt(0.5, up);
    taps.injectAt(0.2, down);
    queue.advance(0.3);
    EXPECT_EQ(handled, std::vector<EventType>{EventType::keyDown});
    queue.advance(0.3);
    EXPECT_EQ(handled, (std::vector<EventType>{EventType::keyDown, EventType::keyUp}));
}

TEST(KeyCodeTest, NumberRowGivesWheelNumbersByKeyPosition) {
    const std::map<int, int> expected{{18, 1}, {19, 2}, {20, 3}, {21, 4}, {22, 6},
                                      {23, 5}, {25, 9}, {26, 7}, {28, 8}, {29, 10}};
    for (int code = 0; code <= 0xffff; ++code) {
        const auto value = KeyCode::numberValue(static_cast<std::uint16_t>(code));
        const auto it = expected.find(code);
        if (it == expected.end())
            EXPECT_FALSE(value) << "code " << code;
        else
            EXPECT_EQ(value, it->second) << "code " << code;
    }
}

TEST(KeyCodeTest, KeypadGivesDigitsAndNothingForItsGap) {
    const std::map<int, int> expected{{82, 0}, {83, 1}, {84, 2}, {85, 3}, {86, 4},
                                      {87, 5}, {88, 6}, {89, 7}, {91, 8}, {92, 9}};
    for (int code = 0; code <= 0xffff; ++code) {
        const auto value = KeyCode::keypadDigit(static_cast<std::uint16_t>(code));
        const auto it = expected.find(code);
        if (it == expected.end())
            EXPECT_FALSE(value) << "code " << code;
        else
            EXPECT_EQ(value, it->second) << "code " << code;
    }
}

TEST(KeyCodeTest, ArrowsAreTheFourArrowKeys) {
    EXPECT_EQ(KeyCode::arrows(), (std::set<std::uint16_t>{123, 124, 125, 126}));
}

} // namespace
} // namespace rondelix
