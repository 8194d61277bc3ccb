#include "SummonHarness.h"

#include <limits>

using namespace rondelix;
using namespace rondelix::testsupport;
using platform::EventType;
using platform::InputEvent;
using platform::TapMode;

namespace {

constexpr std::uint16_t up = 126, right = 124, down = 125, esc = 53, tab = 48;

class HotkeyArmed : public SummonHarness {
  protected:
    int swallowed(EventType type) const {
        const auto events = taps.swallowedBy(TapMode::intercepting);
        return static_cast<int>(
            std::count_if(events.begin(), events.end(), [&](auto& e) { return e.type == type; }));
    }
    bool reachedApp(EventType type, std::uint16_t code = 0) const {
        for (const auto& e : taps.reachedApplications())
            if (e.type == type && e.keyCode == code) return true;
        return false;
    }
};

} // namespace

TEST_F(HotkeyArmed, AimThenReleaseFiresOnceWhicheverTapSeesTheRelease) {
    summon();
    pointAt(2);
    queue.runPending();
    EXPECT_EQ(wheelState.aimedPosition(), 2);
    release();
    EXPECT_EQ(actions.fired, std::vector<std::string>{"a2"});
    EXPECT_EQ(feedback.fires, 1);
    EXPECT_FALSE(overlay.visible);
    EXPECT_EQ(armedTaps(), 0);

    // An extra button is released in front of both taps: one fire.
    edit([&](Config& c) { c.bindings = {makeBinding({1001}, 0)}; });
    taps.buttonDown(3);
    ASSERT_TRUE(isOpen());
    pointAt(1);
    taps.buttonUp(3);
    queue.runPending();
    EXPECT_EQ(actions.fired, (std::vector<std::string>{"a2", "a1"}));
    EXPECT_EQ(armedTaps(), 0);
}

TEST_F(HotkeyArmed, ReleaseWithoutAimDismissesAndRecordsTheWheel) {
    summon();
    taps.keyDown(tab);
    taps.keyUp(tab);
    queue.runPending();
    EXPECT_EQ(wheelState.activeWheelId(), "b");
    release();
    EXPECT_TRUE(actions.fired.empty());
    EXPECT_FALSE(overlay.visible);
    EXPECT_EQ(store->config().lastUsedWheelId, "b");
}

TEST_F(HotkeyArmed, ReleaseGraceCatchesALateAimOrDismissesWhenItEnds) {
    edit([&](Config& c) { c.behavior.releaseGraceEnabled = true; });
    summon();
    release();
    EXPECT_TRUE(isOpen());
    queue.advance(0.1);
    pointAt(1);
    queue.advance(0.199);
    EXPECT_TRUE(actions.fired.empty());
    queue.advance(0.001);
    EXPECT_EQ(actions.fired, std::vector<std::string>{"a1"});
    EXPECT_EQ(armedTaps(), 0);

    summon();
    release();
    taps.modifier(option, true); // pressed again within the window
    queue.advance(3);
    EXPECT_TRUE(isOpen());
    release();
    queue.advance(0.3);
    EXPECT_FALSE(overlay.visible);
    EXPECT_EQ(actions.fired.size(), 1u);

    edit([&](Config& c) { c.behavior.releaseGraceMs = 0; }); // as good as off
    summon();
    release();
    EXPECT_FALSE(overlay.visible);
}

TEST_F(HotkeyArmed, EscAndTypingCancelWithoutRecording) {
    edit([&](Config& c) { c.lastUsedWheelId = "a"; });
    summon();
    taps.keyDown(tab);
    taps.keyUp(tab);
    pointAt(1);
    taps.keyDown(esc);
    EXPECT_EQ(swallowed(EventType::keyDown), 2);
    taps.keyUp(esc);
    EXPECT_FALSE(reachedApp(EventType::keyUp, esc));
    queue.runPending();
    EXPECT_FALSE(overlay.visible);
    EXPECT_EQ(armedTaps(), 0);

    // Esc and then the release before the cancel has run: still nothing.
    summon();
    taps.keyDown(tab);
    pointAt(1);
    taps.keyDown(esc);
    release();
    EXPECT_TRUE(actions.fired.empty());
    EXPECT_EQ(store->config().lastUsedWheelId, "a");

    // Typing with a slot aimed is swallowed; with none it closes and types.
    summon();
    pointAt(1);
    typeKey(7, u'x');
    EXPECT_TRUE(isOpen());
    pointAt(0);
    screens.pointer = {overlay.panel.centerX, overlay.panel.centerY};
    taps.mouseMoved();
    typeKey(7, u'x');
    queue.runPending();
    EXPECT_FALSE(overlay.visible);
    EXPECT_TRUE(reachedApp(EventType::keyDown, 7));
    EXPECT_TRUE(actions.fired.empty());
}

TEST_F(HotkeyArmed, NumberKeysTabShiftTapAndScrollSwitchWheels) {
    edit([&](Config& c) { c.behavior.shiftTapCyclesBackward = true; });
    summon();
    pointAt(2); // straight right: slot 2 of 8, slot 1 of 4
    queue.runPending();
    const int aims = feedback.aims;
    taps.keyDown(19); // the 2 key
    queue.runPending();
    EXPECT_EQ(wheelState.activeWheelId(), "b");
    EXPECT_EQ(wheelState.aimedPosition(), 1);
    taps.keyDown(19, 0, true);
    taps.keyDown(29); // wheel 10 does not exist
    queue.runPending();
    EXPECT_EQ(feedback.aims, aims + 1);
    taps.keyDown(tab);
    queue.runPending();
    EXPECT_EQ(wheelState.activeWheelId(), "c");
    taps.keyDown(tab, ModifierFlag::shift);
    queue.runPending();
    EXPECT_EQ(wheelState.activeWheelId(), "b");

    taps.modifier(shiftKey, true);
    taps.modifier(shiftKey, false);
    queue.runPending();
    EXPECT_EQ(wheelState.activeWheelId(), "a") << "a lone Shift tap goes back";
    taps.modifier(command, true);
    taps.modifier(shiftKey, true);
    taps.modifier(shiftKey, false);
    taps.modifier(command, false);
    queue.runPending();
    EXPECT_EQ(wheelState.activeWheelId(), "a") << "Shift with Command is no tap";

    taps.scroll(2, 0);
    queue.runPending();
    EXPECT_EQ(wheelState.activeWheelId(), "b");
    taps.scroll(0, 2);
    queue.runPending();
    EXPECT_EQ(wheelState.activeWheelId(), "a");
    taps.scroll(std::numeric_limits<double>::quiet_NaN(), 0);
    taps.scroll(0, std::numeric_limits<double>::infinity());
    queue.runPending();
    EXPECT_EQ(wheelState.activeWheelId(), "a");
    taps.scroll(3e300, 0); // must not loop through 1.5e300 switches
    taps.scroll(-1.5, 0);
    taps.scroll(-1.5, 0);
    EXPECT_EQ(swallowed(EventType::scrollWheel), 7);

    edit([&](Config& c) { c.behavior.tabCyclesWheels = false; });
    const std::string before = wheelState.activeWheelId();
    taps.keyDown(tab);
    queue.runPending();
    EXPECT_EQ(wheelState.activeWheelId(), before);
    EXPECT_FALSE(reachedApp(EventType::keyDown, tab));
    EXPECT_TRUE(isOpen());
}

TEST_F(HotkeyArmed, ArrowsKeypadAndPointerAim) {
    edit([&](Config& c) { c.behavior.stickyAim = false; });
    summon();
    taps.keyDown(up);
    taps.keyDown(right);
    queue.runPending();
    EXPECT_EQ(wheelState.aimedPosition(), 1);
    taps.keyUp(right); // primed: pressing it again while up stays held steps
    taps.keyDown(right);
    queue.runPending();
    EXPECT_EQ(wheelState.aimedPosition(), 2);
    taps.keyUp(right);
    taps.keyUp(up);
    queue.runPending();
    EXPECT_EQ(wheelState.aimedPosition(), std::nullopt) << "no sticky aim";

    taps.keyDown(91); // keypad 8: north, anchored
    taps.keyUp(91);
    taps.keyDown(down);
    queue.runPending();
    EXPECT_EQ(wheelState.aimedPosition(), 1)
        << "from an anchored aim the opposite side is approached clockwise";
    taps.keyUp(down);
    taps.keyDown(87); // keypad 5: centre
    queue.runPending();
    EXPECT_EQ(wheelState.aimedPosition(), std::nullopt);
    taps.keyUp(87);
    release();
    EXPECT_TRUE(actions.fired.empty());

    // A wheel opened away from the pointer ignores small movements.
    overlay.placeAt = platform::Point{900, 500};
    summon();
    screens.pointer = {505, 500};
    taps.mouseMoved();
    queue.runPending();
    EXPECT_EQ(wheelState.aimedPosition(), std::nullopt);
    screens.pointer = {513, 500};
    taps.mouseMoved();
    queue.runPending();
    EXPECT_EQ(wheelState.aimedPosition(), 6);
    screens.pointer = {900, 510};
    taps.mouseMoved();
    queue.runPending();
    EXPECT_EQ(wheelState.aimedPosition(), std::nullopt) << "the hub clears the aim";
}

TEST_F(HotkeyArmed, DrainSwallowsHeldKeysUntilReleaseOrTimeout) {
    summon();
    taps.keyDown(up);
    release();
    EXPECT_EQ(actions.fired, std::vector<std::string>{"a0"});
    EXPECT_FALSE(overlay.visible);
    EXPECT_EQ(armedTaps(), 1);
    taps.keyDown(up, 0, true);
    taps.buttonDown(0); // a click during the drain is the application's
    taps.buttonUp(0);
    taps.keyUp(up);
    EXPECT_FALSE(reachedApp(EventType::keyDown, up));
    EXPECT_FALSE(reachedApp(EventType::keyUp, up));
    EXPECT_TRUE(reachedApp(EventType::leftMouseDown));
    queue.runPending();
    EXPECT_EQ(armedTaps(), 0);

    summon();
    taps.keyDown(up);
    release();
    queue.advance(1.499);
    EXPECT_EQ(armedTaps(), 1);
    queue.advance(0.001);
    EXPECT_EQ(armedTaps(), 0) << "a release never seen ends with the drain time";
    // Still held, its repeats stay out of the application until it comes up.
    taps.keyDown(up, 0, true);
    taps.keyUp(up);
    EXPECT_FALSE(reachedApp(EventType::keyDown, up));
    EXPECT_FALSE(reachedApp(EventType::keyUp, up));

    edit([&](Config& c) { c.behavior.heldArrowMode = Behavior::HeldArrowMode::delay; });
    summon();
    taps.keyDown(up);
    release();
    queue.advance(0.3);
    EXPECT_EQ(armedTaps(), 0);
    taps.keyDown(up, 0, true);
    EXPECT_TRUE(reachedApp(EventType::keyDown, up))
        << "after the delay, a held arrow repeats in the application";
    taps.keyUp(up);

    // A click fires; its mouse up never reaches the application.
    summon();
    pointAt(3);
    taps.buttonDown(0);
    queue.runPending();
    EXPECT_EQ(actions.fired.back(), "a3");
    taps.buttonUp(0);
    queue.runPending();
    EXPECT_EQ(swallowed(EventType::leftMouseUp), 1);
    EXPECT_EQ(armedTaps(), 0);
}

// However the wheel closes, a key it took that is still down stays the
// wheel's until it comes up: the application sees neither its repeats nor
// its release.
TEST_F(HotkeyArmed, AKeyTheWheelTookStaysSwallowedUntilUpHoweverTheWheelCloses) {
    constexpr std::uint16_t two = 19, keypadEight = 91, x = 7;
    struct Held {
        const char* what;
        std::uint16_t key;
        std::function<void()> closeWith;
    };
    const auto toHub = [&] {
        screens.pointer = {overlay.panel.centerX, overlay.panel.centerY};
        taps.mouseMoved();
    };
    const Held cases[] = {
        {"a wheel's number, released with nothing aimed", two, [&] { release(); }},
        {"Tab, released with nothing aimed", tab, [&] { release(); }},
        {"a keypad digit, released on the slot it aims", keypadEight, [&] { release(); }},
        {"a letter typed while aimed, released back in the hub", x,
         [&] {
             toHub();
             release();
         }},
        {"Esc", esc, [&] { queue.runPending(); }},
    };
    for (const Held& held : cases) {
        SCOPED_TRACE(held.what);
        summon();
        if (held.key == x) pointAt(1);
        taps.keyDown(held.key);
        held.closeWith();
        queue.runPending();
        EXPECT_FALSE(overlay.visible);
        taps.keyDown(held.key, 0, true);
        taps.keyDown(held.key, 0, true);
        taps.keyUp(held.key);
        EXPECT_FALSE(reachedApp(EventType::keyDown, held.key));
        EXPECT_FALSE(reachedApp(EventType::keyUp, held.key));
        taps.modifier(option, false);
        queue.runPending();
        EXPECT_EQ(armedTaps(), 0);
        taps.clearRecords();
    }
}

// The verdict on a key goes back to the tap before the wheel state shows
// what the key did: the wheel and the main window's preview redraw from that
// state, which on a busy machine takes longer than the keyboard may wait.
TEST_F(HotkeyArmed, TheVerdictGoesBackBeforeTheWheelShowsWhatTheKeyDid) {
    constexpr std::uint16_t two = 19, keypadEight = 91;
    struct Input {
        const char* what;
        std::function<void()> press;
        std::uint16_t key; // let go after, unless 0
        std::string wheel;
        std::optional<int> aim;
    };
    const Input inputs[] = {
        {"a wheel's number", [&] { taps.keyDown(two); }, two, "b", std::nullopt},
        {"Tab", [&] { taps.keyDown(tab); }, tab, "b", std::nullopt},
        {"scrolling", [&] { taps.scroll(2, 0); }, 0, "b", std::nullopt},
        {"an arrow", [&] { taps.keyDown(up); }, up, "a", 0},
        {"a keypad digit", [&] { taps.keyDown(keypadEight); }, keypadEight, "a", 0},
    };
    for (const Input& input : inputs) {
        SCOPED_TRACE(input.what);
        summon();
        std::vector<std::string> order;
        const ScopedConnection watch =
            wheelState.changed.connectScoped([&](WheelState::Property) { order.push_back("shown"); });
        input.press();
        order.push_back("verdict");
        queue.runPending();
        ASSERT_FALSE(order.empty());
        EXPECT_EQ(order.front(), "verdict");
        EXPECT_EQ(wheelState.activeWheelId(), input.wheel);
        EXPECT_EQ(wheelState.aimedPosition(), input.aim);
        if (input.key) taps.keyUp(input.key);
        screens.pointer = {overlay.panel.centerX, overlay.panel.centerY};
        taps.mouseMoved();
        release();
        edit([&](Config& c) { c.lastUsedWheelId = "a"; });
    }
}

TEST_F(HotkeyArmed, StaleStepsOfAnEarlierSummonDoNothing) {
    edit([&](Config& c) { c.bindings = {makeBinding({option}, 0)}; });
    summon();
    taps.keyDown(up);
    release();
    taps.keyUp(up);              // the drain's teardown is scheduled ...
    taps.modifier(option, true); // ... and a new summon arms before it runs
    taps.keyDown(up);
    taps.modifier(option, false); // which fires and drains the up arrow itself
    queue.runPending();
    EXPECT_EQ(armedTaps(), 1);
    taps.keyUp(up);
    EXPECT_FALSE(reachedApp(EventType::keyUp, up));
    queue.runPending();
    EXPECT_EQ(armedTaps(), 0);
    EXPECT_EQ(actions.fired, (std::vector<std::string>{"a0", "a0"}));
}

TEST_F(HotkeyArmed, EmptySlotsOpenTheEditorOnlyForSlotsTheWheelHas) {
    std::vector<std::pair<std::string, int>> opened;
    engine().callbacks.onOpenSliceEditor = [&](const std::string& id, int position) {
        opened.emplace_back(id, position);
    };
    summon();
    pointAt(6);
    release();
    EXPECT_EQ(opened, (std::vector<std::pair<std::string, int>>{{"a", 6}}));
    EXPECT_EQ(feedback.fires, 0);

    summon();
    pointAt(6);
    edit([&](Config& c) { c.wheels[0] = makeWheel("a", 4, 4); }); // reloaded smaller while open
    release();
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_TRUE(actions.fired.empty());

    edit([&](Config& c) { c.behavior.emptySliceOpensEditor = false; });
    summon();
    pointAt(3.5); // slot 7 of an 8-slot layout: past the end of a 4-slot wheel as well
    release();
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(HotkeyArmed, EventsInAnyOrderEndIdleWithNothingGrabbed) {
    taps.keyUp(up);
    taps.buttonUp(0);
    taps.modifier(option, false);
    summon();
    pointAt(1);
    edit([](Config& c) { c.wheels.erase(c.wheels.begin()); }); // the open wheel is deleted
    taps.keyDown(tab);
    queue.runPending();
    EXPECT_EQ(wheelState.activeWheelId(), "a") << "no cycling from a wheel that is gone";
    release();
    EXPECT_EQ(actions.fired, std::vector<std::string>{"b1"}) << "falls back to the store's active wheel";
    taps.keyUp(tab);
    queue.runPending();
    EXPECT_EQ(armedTaps(), 0);

    summon();
    taps.keyDown(right);
    taps.keyUp(right, 0);
    taps.buttonUp(0);
    taps.keyUp(esc);
    taps.keyDown(esc);
    taps.modifier(option, false);
    queue.advance(2);
    EXPECT_EQ(armedTaps(), 0);
    EXPECT_FALSE(overlay.visible);
    EXPECT_EQ(taps.tapCount(TapMode::listenOnly), 1);
}

// The watchdog's tick can come at any point of a release: before the live
// state lets go, between that and the release event, between the event and
// the fire it posts, or after all of them. Each way the aimed slice fires once.
TEST_F(HotkeyArmed, AReleaseRacingTheWatchdogFiresTheAimedSliceOnce) {
    struct Binding {
        const char* what;
        int code;
        std::function<void(bool down)> state;
        std::function<void(bool down)> event;
    };
    const std::vector<Binding> bindings{
        {"Option", option, [&](bool down) { taps.setKeyDown(option, down); },
         [&](bool down) { taps.modifier(option, down); }},
        {"extra button", 1001, [&](bool down) { taps.setButtonDown(3, down); },
         [&](bool down) { down ? taps.buttonDown(3) : taps.buttonUp(3); }},
    };
    const auto at = [&](double time, std::function<void()> step) {
        queue.after(time - queue.now(), std::move(step));
    };
    for (const Binding& b : bindings) {
        edit([&](Config& c) { c.bindings = {makeBinding({b.code}, 0)}; });
        // How many of the release's steps come before the tick; 3: the fire too.
        for (int ahead = 0; ahead <= 3; ++ahead) {
            engine();
            b.event(true);
            queue.runPending();
            ASSERT_TRUE(isOpen()) << b.what;
            pointAt(2);
            const std::vector<std::function<void()>> steps{[&] { b.state(false); }, [&] { b.event(false); }};
            // The tick at `tick` is scheduled by the one a second earlier:
            // steps scheduled before that run ahead of it at the same time.
            const double tick = std::floor(queue.now()) + 2;
            if (ahead == 3) {
                queue.advance(tick - 0.25 - queue.now());
                for (const auto& step : steps)
                    step();
            } else {
                for (std::size_t i = 0; i < steps.size(); ++i) {
                    if (i == static_cast<std::size_t>(ahead)) queue.advance(tick - 0.5 - queue.now());
                    at(tick, steps[i]);
                }
            }
            queue.advance(tick + 0.5 - queue.now());
            EXPECT_EQ(actions.fired, std::vector<std::string>{"a2"})
                << b.what << ", steps before the tick: " << ahead;
            EXPECT_EQ(armedTaps(), 0);
            EXPECT_FALSE(overlay.visible);
            actions.fired.clear();
        }
    }
}

// A quick flick: the server has let the binding go, but the pointer's move
// and the release are still on their way to the taps when the watchdog
// looks. They decide, not the watchdog, which would close on the aim the move
// has not made yet.
TEST_F(HotkeyArmed, AFlickWhoseEventsTrailTheKeyboardStateFiresWhatItsMoveAims) {
    summon();
    const double tick = std::floor(queue.now()) + 1;
    queue.advance(tick - 0.01 - queue.now());
    taps.setKeyDown(option, false);
    queue.advance(0.02);
    pointAt(2);
    taps.modifier(option, false);
    queue.advance(2);
    EXPECT_EQ(actions.fired, std::vector<std::string>{"a2"});
    EXPECT_FALSE(log.contains("Rondelix: watchdog recovered a stuck armed tap (missed summon-release)."));

    summon();
    taps.setKeyDown(option, false); // this release never comes: the watchdog closes
    queue.advance(1.5);
    EXPECT_EQ(armedTaps(), 0);
    EXPECT_TRUE(log.contains("Rondelix: watchdog recovered a stuck armed tap (missed summon-release)."));
}

// A quick flick: the keys held 0.12 s against a 0.1 s threshold, the pointer
// moved up onto the top slot at 0.12 s, the keys let go at 0.15 s. A busy
// program hears the events late: the hold counts from when the keys went
// down and the wheel opens where the pointer was when the hold passed, so
// the move aims and the release fires it, once, however late.
TEST_F(HotkeyArmed, AQuickFlickFiresWhatItsMoveAimsHoweverLateTheProgramHearsIt) {
    edit([](Config& c) { c.bindings = {makeBinding({option}, 100)}; });
    engine();
    struct Lateness {
        const char* what;
        double keysHeard; // after the keys went down
        double restHeard; // after the move and the release
    };
    const Lateness cases[] = {
        {"heard at once", 0, 0},
        {"the keys heard 0.03 s late", 0.03, 0.03},
        {"the whole flick heard after it was over", 0.3, 0.18},
    };
    const platform::Point rest{500, 500};
    for (const Lateness& late : cases) {
        SCOPED_TRACE(late.what);
        actions.fired.clear();
        screens.pointer = rest;
        const double t0 = queue.now();
        const auto optionAt = [&](bool down, double at) {
            return InputEvent{.type = EventType::flagsChanged,
                              .keyCode = option,
                              .flags = down ? ModifierFlag::option | ModifierFlag::leftOption : 0,
                              .time = at};
        };
        taps.injectAt(t0 + late.keysHeard, optionAt(true, t0));
        queue.advance(0.12);
        screens.pointer = {rest.x, rest.y + 110};
        taps.pointerMoved({0, 110}, t0 + 0.12);
        taps.injectAt(t0 + 0.12 + late.restHeard,
                      InputEvent{.type = EventType::mouseMoved, .time = t0 + 0.12});
        taps.injectAt(t0 + 0.15 + late.restHeard, optionAt(false, t0 + 0.15));
        queue.advance(2);
        EXPECT_EQ(actions.fired, std::vector<std::string>{"a0"});
        EXPECT_EQ(armedTaps(), 0);
        EXPECT_FALSE(log.contains("watchdog"));
    }
}
