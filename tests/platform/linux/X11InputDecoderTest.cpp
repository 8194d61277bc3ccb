#include "platform/linux/x11/X11InputDecoder.h"

#include "model/KeyComboText.h"
#include "platform/ModifierFlags.h"
#include "platform/linux/x11/X11KeyTable.h"

#include <gtest/gtest.h>

namespace rondelix::platform::linux_desktop {
namespace {

using Kind = X11RawInput::Kind;

constexpr int keyboard = 10; // a physical keyboard
constexpr int xtest = 5;     // the XTEST keyboard, shared by every program that posts

// X key codes on an evdev server.
constexpr int xShiftL = 50, xShiftR = 62, xA = 38, xCapsLock = 66, xPlayPause = 172;

struct X11InputDecoderTest : ::testing::Test {
    X11PostLedger ledger;
    X11InputDecoder decoder{ledger};
    std::vector<int> unknown;

    void SetUp() override {
        decoder.setKeyMap(X11InputDecoder::makeKeyMap(true, nullptr));
        decoder.setXtestDevices({xtest});
        decoder.setUnknownKey([this](int x) { unknown.push_back(x); });
    }

    std::optional<InputEvent> raw(Kind kind, int detail, int device = keyboard, double now = 0.0) {
        return decoder.decodeRaw({kind, detail, device, false}, now);
    }
};

TEST_F(X11InputDecoderTest, ModifierFlagsCarryTheirSidesAndTheGroupStaysWhileEitherSideIsHeld) {
    auto left = raw(Kind::keyPress, xShiftL);
    ASSERT_TRUE(left);
    EXPECT_EQ(left->type, EventType::flagsChanged);
    EXPECT_EQ(left->keyCode, 56);
    EXPECT_EQ(left->flags, ModifierFlag::shift | ModifierFlag::leftShift);

    EXPECT_EQ(raw(Kind::keyPress, xShiftR)->flags,
              ModifierFlag::shift | ModifierFlag::leftShift | ModifierFlag::rightShift);
    EXPECT_EQ(raw(Kind::keyRelease, xShiftL)->flags, ModifierFlag::shift | ModifierFlag::rightShift);
    EXPECT_EQ(raw(Kind::keyPress, xA)->flags, ModifierFlag::shift | ModifierFlag::rightShift);
    EXPECT_EQ(raw(Kind::keyRelease, xShiftR)->flags, 0u);

    decoder.setCapsLock(true);
    const auto caps = raw(Kind::keyPress, xCapsLock);
    EXPECT_EQ(caps->type, EventType::flagsChanged);
    EXPECT_EQ(caps->keyCode, 57);
    EXPECT_EQ(caps->flags, ModifierFlag::alphaShift);
}

TEST_F(X11InputDecoderTest, AKeyPressedAgainWhileHeldIsARepeatAndGrabbedRepeatsFollowTheServer) {
    EXPECT_FALSE(raw(Kind::keyPress, xA)->autoRepeat);
    EXPECT_TRUE(raw(Kind::keyPress, xA)->autoRepeat);
    EXPECT_FALSE(raw(Kind::keyRelease, xA)->autoRepeat);
    EXPECT_FALSE(raw(Kind::keyPress, xA)->autoRepeat);

    EXPECT_TRUE(decoder.decodeGrabbed({Kind::keyPress, xA, keyboard, true}, 0)->autoRepeat);
    EXPECT_FALSE(decoder.decodeGrabbed({Kind::keyPress, xA, keyboard, false}, 0)->autoRepeat);
}

TEST_F(X11InputDecoderTest, ButtonsAreNumberedAsTheSystemNumbersThemAndWheelNotchesScroll) {
    const std::vector<std::pair<int, std::pair<EventType, int>>> presses{
        {1, {EventType::leftMouseDown, 0}},  {3, {EventType::rightMouseDown, 1}},
        {2, {EventType::otherMouseDown, 2}}, {8, {EventType::otherMouseDown, 3}},
        {9, {EventType::otherMouseDown, 4}}, {36, {EventType::otherMouseDown, 31}},
    };
    for (const auto& [x, expected] : presses) {
        const auto down = raw(Kind::buttonPress, x);
        ASSERT_TRUE(down) << x;
        EXPECT_EQ(down->type, expected.first) << x;
        EXPECT_EQ(down->buttonNumber, expected.second) << x;
        raw(Kind::buttonRelease, x);
    }

    const std::vector<std::tuple<int, double, double>> notches{{4, 1, 0}, {5, -1, 0}, {6, 0, 1}, {7, 0, -1}};
    for (const auto& [x, vertical, horizontal] : notches) {
        const auto scroll = raw(Kind::buttonPress, x);
        ASSERT_TRUE(scroll);
        EXPECT_EQ(scroll->type, EventType::scrollWheel);
        EXPECT_EQ(scroll->scrollDeltaVertical, vertical);
        EXPECT_EQ(scroll->scrollDeltaHorizontal, horizontal);
        EXPECT_FALSE(raw(Kind::buttonRelease, x)) << "a notch's release means nothing";
    }

    EXPECT_EQ(raw(Kind::motion, 0)->type, EventType::mouseMoved);
    raw(Kind::buttonPress, 1);
    EXPECT_EQ(raw(Kind::motion, 0)->type, EventType::leftMouseDragged);
    raw(Kind::buttonRelease, 1);
    raw(Kind::buttonPress, 9);
    EXPECT_EQ(raw(Kind::motion, 0)->type, EventType::otherMouseDragged);
}

TEST_F(X11InputDecoderTest, OnlyEchoesOfWhatWePostedFromTheXtestDeviceCarryTheMarker) {
    ledger.note(xA, true, 0.0, true);

    EXPECT_EQ(raw(Kind::keyPress, xA, keyboard)->sourceUserData, 0u) << "a physical keyboard is the user";
    EXPECT_EQ(raw(Kind::keyRelease, xA, xtest)->sourceUserData, 0u) << "we posted a press, not a release";
    EXPECT_EQ(raw(Kind::keyPress, xA, xtest, 0.1)->sourceUserData, programEventMarker);
    EXPECT_EQ(raw(Kind::keyPress, xA, xtest, 0.1)->sourceUserData, 0u) << "each note marks one echo";
    EXPECT_EQ(decoder.decodeGrabbed({Kind::keyPress, xA, xtest, false}, 0.1)->sourceUserData,
              programEventMarker);

    // Not grabbing: no second echo is expected, so none is claimed.
    ledger.note(xA, false, 1.0, false);
    EXPECT_EQ(decoder.decodeGrabbed({Kind::keyRelease, xA, xtest, false}, 1.1)->sourceUserData, 0u);
    // An echo the server dropped must not mark another program's key later.
    EXPECT_EQ(raw(Kind::keyRelease, xA, xtest, 1.0 + X11PostLedger::lifetime + 0.1)->sourceUserData, 0u);
}

TEST_F(X11InputDecoderTest, UnknownKeysAreToldOnceAndProduceNoEvent) {
    EXPECT_FALSE(raw(Kind::keyPress, xPlayPause));
    EXPECT_FALSE(raw(Kind::keyRelease, xPlayPause));
    EXPECT_FALSE(raw(Kind::keyPress, 300)) << "out of X's range";
    EXPECT_FALSE(raw(Kind::buttonPress, -1));
    EXPECT_EQ(unknown, std::vector<int>{xPlayPause});
}

TEST_F(X11InputDecoderTest, ResyncForgetsKeysOfAKeyboardThatWentAway) {
    raw(Kind::keyPress, xShiftL);
    raw(Kind::keyPress, xA);
    decoder.resync({});
    EXPECT_EQ(decoder.flags(), 0u);
    EXPECT_FALSE(raw(Kind::keyPress, xA)->autoRepeat);
    decoder.resync({xShiftR});
    EXPECT_EQ(decoder.flags(), ModifierFlag::shift | ModifierFlag::rightShift);
}

TEST_F(X11InputDecoderTest, CharactersComeWithKeyEventsOnly) {
    decoder.setCharacters([](int) { return std::u16string(u"a"); });
    EXPECT_EQ(raw(Kind::keyPress, xA)->characters, u"a");
    EXPECT_EQ(raw(Kind::keyPress, xShiftL)->characters, u"");
}

TEST(X11KeyMapTest, PositionsWinOverKeysymsAndKeysymsFillTheRest) {
    // An AZERTY map: the A position types q; an odd key types a.
    auto keysymOf = [](int x) -> std::uint32_t {
        return x == xA ? 'q' : x == 250 ? 'a' : x == 251 ? 0xffbe : 0;
    };
    const auto evdev = X11InputDecoder::makeKeyMap(true, keysymOf);
    EXPECT_EQ(evdev[xA], 0) << "the key in the A position is key code 0, whatever it types";
    EXPECT_EQ(evdev[250], 0) << "a position the table lacks falls back to its keysym";
    EXPECT_EQ(evdev[251], 122);
    EXPECT_EQ(evdev[xPlayPause], -1);

    // A server whose key codes are not evdev positions: keysyms alone.
    const auto other = X11InputDecoder::makeKeyMap(false, keysymOf);
    EXPECT_EQ(other[xA], 12);
    EXPECT_EQ(other[62], -1);
}

TEST(X11KeyMapTest, EachPositionHasOneRowAndPostingPrefersThePcKeys) {
    std::set<int> positions;
    for (const auto& row : X11KeyTable::rows())
        EXPECT_TRUE(positions.insert(row.evdevCode).second) << row.evdevCode;
    EXPECT_EQ(X11KeyTable::rowForKeyCode(105)->evdevCode, 183) << "F13, not Print Screen";
    EXPECT_EQ(X11KeyTable::rowForKeyCode(113)->evdevCode, 185) << "F15, not Pause";
    EXPECT_EQ(X11KeyTable::rowForKeyCode(114)->evdevCode, 110) << "Insert, not Help";
    EXPECT_EQ(X11KeyTable::rowForKeyCode(63), nullptr) << "Fn has no X key code";
    EXPECT_EQ(X11KeyTable::keyCodeForKeysym('A'), 0);
}

// Every key the recorder can capture has the name a PC keyboard prints on
// it; modifiers alone are never captured.
TEST(X11KeyMapTest, EveryKeyTheRecorderTakesHasAName) {
    for (const auto& row : X11KeyTable::rows()) {
        if (row.keyCode >= ModifierKeyCode::rightCommand && row.keyCode <= ModifierKeyCode::function)
            continue;
        const std::string label = KeyComboText::keyLabel(row.keyCode);
        EXPECT_NE(label.rfind("key", 0), 0u) << "evdev " << row.evdevCode << " reads " << label;
    }
}

} // namespace
} // namespace rondelix::platform::linux_desktop
