#include "SummonHarness.h"

using namespace rondelix;
using namespace rondelix::testsupport;
using platform::EventType;
using platform::TapMode;

using HotkeyListen = SummonHarness;

TEST_F(HotkeyListen, ArmsExactlyAtTheHoldThresholdAndNotBefore) {
    engine();
    taps.modifier(option, true);
    queue.advance(0.1);
    EXPECT_FALSE(overlay.visible);
    taps.modifier(option, false);
    queue.advance(1.0);
    EXPECT_EQ(overlay.shows, 0) << "the threshold step of a released hold does nothing";

    taps.modifier(option, true);
    queue.advance(0.0625);
    EXPECT_EQ(armedTaps(), 0);
    queue.advance(0.0625);
    EXPECT_TRUE(isOpen());
    EXPECT_EQ(wheelState.activeWheelId(), "a");
}

TEST_F(HotkeyListen, LargerBindingTakesOverWithTheThresholdCountedFromTheFirstKey) {
    edit([&](Config& c) { c.bindings = {makeBinding({option}), makeBinding({option, shiftKey})}; });
    engine();
    taps.modifier(option, true);
    queue.advance(0.1);
    taps.modifier(shiftKey, true);
    queue.advance(0.025);
    ASSERT_TRUE(isOpen());
    // Letting Shift go releases the larger binding that now counts.
    taps.modifier(shiftKey, false);
    EXPECT_EQ(armedTaps(), 0);
}

TEST_F(HotkeyListen, TieBreaksGreatestKeyListThenEarlierBinding) {
    // [63, 49] beats [59, 49]; the slower threshold shows which one armed.
    edit([&](Config& c) { c.bindings = {makeBinding({59, 49}, 400), makeBinding({63, 49}, 125)}; });
    engine();
    taps.modifier(59, true);
    taps.modifier(63, true);
    taps.keyDown(49);
    queue.advance(0.125);
    EXPECT_TRUE(isOpen());
    taps.modifier(63, false);
    EXPECT_FALSE(overlay.visible) << "releasing the winner's own key ends the summon";

    // Identical lists: the earlier one wins, whatever its threshold.
    edit([](Config& c) {
        c.bindings = {
            makeBinding({command}, 400), makeBinding({command}, 125),
            SummonBinding{
                .id = Uuid::generate(), .keyCodes = {option}, .holdThresholdMs = 0, .enabled = false}};
    });
    taps.modifier(59, false);
    taps.keyUp(49);
    queue.advance(1);
    taps.modifier(option, true);
    queue.advance(1);
    EXPECT_EQ(overlay.shows, 1) << "a disabled binding never arms";
    taps.modifier(command, true);
    queue.advance(0.125);
    EXPECT_EQ(overlay.shows, 1);
    queue.advance(0.275);
    EXPECT_EQ(overlay.shows, 2);
}

// The taps note where the pointer is only at a press that can begin a
// summon: they know the enabled bindings' keys and buttons, kept current.
TEST_F(HotkeyListen, TheTapsKnowTheKeysOfEveryBindingThatCanSummon) {
    engine();
    using Chords = std::vector<platform::KeyChord>;
    EXPECT_EQ(taps.summonChords(), (Chords{{{option}, {}}}));
    edit([](Config& c) {
        c.bindings = {makeBinding({command, 1003}), makeBinding({option, 70000}),
                      SummonBinding{.id = Uuid::generate(), .keyCodes = {shiftKey}, .enabled = false}};
    });
    EXPECT_EQ(taps.summonChords(), (Chords{{{command}, {5}}})) << "mouse button 5 is code 1003";
}

TEST_F(HotkeyListen, ChordsLeftButtonAndOwnEventsKeepTheWheelShut) {
    edit([&](Config& c) { c.bindings = {makeBinding({command})}; });
    engine();
    taps.modifier(command, true);
    taps.keyDown(8); // Command+C
    taps.keyUp(8);
    queue.advance(1);
    EXPECT_EQ(overlay.shows, 0);
    taps.modifier(command, false);

    edit([&](Config& c) { c.bindings = {makeBinding({option}, 0)}; });
    taps.buttonDown(0);
    taps.modifier(option, true);
    EXPECT_EQ(overlay.shows, 0) << "a held left button is a drag, not a summon";
    taps.modifier(option, false);
    taps.buttonUp(0);

    platform::InputEvent own{.type = EventType::flagsChanged,
                             .keyCode = option,
                             .flags = 0x80020,
                             .sourceUserData = platform::programEventMarker};
    programActive = false;
    taps.inject(own);
    EXPECT_EQ(overlay.shows, 0);
    taps.modifier(option, true);
    EXPECT_TRUE(isOpen()) << "a threshold of 0 arms within the same event";
}

TEST_F(HotkeyListen, PausedAndRecordingBlockSummoning) {
    bool paused = true;
    engine().callbacks.isSummonPaused = [&] { return paused; };
    taps.modifier(option, true);
    queue.advance(1);
    EXPECT_EQ(overlay.shows, 0);
    taps.modifier(option, false);

    paused = false;
    taps.modifier(option, true);
    paused = true;
    queue.advance(1);
    EXPECT_EQ(overlay.shows, 0) << "paused when the threshold elapses";
    paused = false;
    taps.modifier(option, false);

    std::vector<std::pair<int, bool>> buttons;
    engine().callbacks.onRecordingMouseButton = [&](int b, bool down) { buttons.emplace_back(b, down); };
    summon();
    engine().setRecording(true);
    EXPECT_FALSE(overlay.visible);
    EXPECT_EQ(armedTaps(), 0);
    taps.modifier(option, false);
    taps.modifier(option, true);
    taps.buttonDown(3);
    queue.advance(1);
    EXPECT_EQ(overlay.shows, 1);
    EXPECT_EQ(buttons, (std::vector<std::pair<int, bool>>{{3, true}}));
}

TEST_F(HotkeyListen, WatchdogRecoversAStuckRecorderUnlessItIsAlive) {
    bool alive = true;
    int cancels = 0;
    engine().callbacks.recordingLiveness = [&] { return alive; };
    engine().callbacks.cancelStuckRecorder = [&] { ++cancels; };
    engine().setRecording(true);
    queue.advance(30);
    EXPECT_TRUE(engine().recording());
    alive = false;
    queue.advance(1);
    EXPECT_FALSE(engine().recording());
    EXPECT_EQ(cancels, 1);
    EXPECT_TRUE(log.contains("Rondelix: recovering a stuck recording session (recorder gone)."));
}

TEST_F(HotkeyListen, WatchdogRebuildsADeadListenTapWithinTheRateLimitAndVerifiesForcedRebuilds) {
    int blockedReports = 0;
    engine().callbacks.onSummonBlockedByPermissions = [&](bool blocked) {
        blockedReports += blocked ? 100 : 1;
    };
    programActive = true; // nothing confirms the tap
    auto installs = [&] {
        return std::count(log.lines().begin(), log.lines().end(),
                          "Rondelix: installListenTap tapCreate ok=true");
    };
    ASSERT_EQ(installs(), 1);

    queue.advance(0.3);
    engine().forceRebuildListenTap(true);
    engine().forceRebuildListenTap(true);
    EXPECT_EQ(installs(), 2) << "two forced rebuilds within 0.5 s rebuild once";
    queue.advance(0.7); // tick at 1.0: verification not due yet (1.8)
    EXPECT_EQ(installs(), 2);
    queue.advance(1.0); // tick at 2.0 finds the rebuilt tap still unconfirmed
    EXPECT_EQ(installs(), 3);

    queue.advance(0.8);
    engine().forceRebuildListenTap(false);
    EXPECT_EQ(installs(), 4);
    taps.disableTap(TapMode::listenOnly, EventType::tapDisabledByUserInput);
    queue.advance(0.2); // tick at 3.0: disabled, but rebuilt only 0.2 s ago
    EXPECT_EQ(installs(), 4);
    EXPECT_EQ(blockedReports, 1);
    queue.advance(1.0); // tick at 4.0: same spell, no second report
    EXPECT_EQ(installs(), 5);
    EXPECT_EQ(blockedReports, 1);
    programActive = false;
    taps.keyDown(0); // a real event confirms the rebuilt tap
    taps.keyUp(0);
    queue.advance(1.0);
    taps.disableTap(TapMode::listenOnly, EventType::tapDisabledByUserInput);
    queue.advance(1.0);
    EXPECT_EQ(installs(), 6);
    EXPECT_EQ(blockedReports, 2) << "a new spell reports again";
    queue.advance(5.0);
    EXPECT_EQ(installs(), 6);
    EXPECT_TRUE(taps.isTapEnabled(TapMode::listenOnly));
}

TEST_F(HotkeyListen, WatchdogTearsDownAMissedReleaseAndReportsSecureInput) {
    std::vector<bool> secure;
    engine().callbacks.onSecureInputBlockingChanged = [&](bool on) { secure.push_back(on); };
    engine().start(); // again: still one listen tap and one watchdog (counted by the ticks below)
    EXPECT_EQ(taps.tapCount(TapMode::listenOnly), 1);
    summon();
    taps.disableTap(TapMode::intercepting, EventType::tapDisabledByUserInput);
    queue.advance(1.0);
    EXPECT_FALSE(overlay.visible) << "a disabled armed tap is torn down";
    summon();
    taps.setKeyDown(option, false); // the release event was lost
    queue.advance(1.0);
    EXPECT_EQ(armedTaps(), 0);
    EXPECT_FALSE(overlay.visible);
    EXPECT_TRUE(log.contains("Rondelix: watchdog recovered a stuck armed tap (missed summon-release)."));

    taps.setSecureInput(true);
    queue.advance(5.0);
    taps.setSecureInput(false);
    queue.advance(1.0);
    EXPECT_TRUE(secure.empty());
    taps.setSecureInput(true);
    queue.advance(10.0);
    taps.setSecureInput(false);
    queue.advance(3.0);
    EXPECT_EQ(secure, (std::vector<bool>{true, false}));
}

TEST_F(HotkeyListen, ArmedTapThatCannotBeInstalledAbortsTheSummon) {
    std::vector<bool> blocked;
    engine().callbacks.onSummonBlockedByPermissions = [&](bool b) { blocked.push_back(b); };
    taps.failInstalls(TapMode::intercepting, true);
    taps.modifier(option, true);
    queue.advance(0.125);
    EXPECT_EQ(overlay.shows, 0);
    EXPECT_EQ(blocked, std::vector<bool>{true});
    EXPECT_TRUE(log.contains("Rondelix: armed tap install failed — aborting summon."));
}

TEST_F(HotkeyListen, WheelChoiceFollowsAppDetectionLastUsedAndPreview) {
    edit([&](Config& c) { c.wheels[1].appBundleIdentifier = "org.example.Editor"; });
    edit([&](Config& c) { c.wheels[2].appBundleIdentifier = "org.example.Editor"; });
    workspace.frontmost = "org.example.Editor";
    summon();
    EXPECT_EQ(wheelState.activeWheelId(), "b");
    release();

    edit([&](Config& c) { c.behavior.detectApp = false; });
    edit([&](Config& c) { c.lastUsedWheelId = "c"; });
    summon();
    EXPECT_EQ(wheelState.activeWheelId(), "c");
    release();

    edit([&](Config& c) { c.behavior.reopenLastWheel = false; });
    engine().callbacks.editorPreviewWheelId = [] { return std::string("b"); };
    summon();
    EXPECT_EQ(wheelState.activeWheelId(), "b");
    release();
    EXPECT_EQ(store->config().lastUsedWheelId, "c") << "a preview never records the last used wheel";
    engine().callbacks.editorPreviewWheelId = nullptr;
    summon();
    EXPECT_EQ(wheelState.activeWheelId(), "a");
}

TEST_F(HotkeyListen, AWheelBoundByAnotherPlatformsIdentifierOpensForItsEquivalent) {
    edit([&](Config& c) { c.wheels[2].appBundleIdentifier = "com.apple.finder"; });
    workspace.installed = {{"com.apple.finder", "/apps/org.gnome.Nautilus.desktop"},
                           {"org.gnome.Nautilus", "/apps/org.gnome.Nautilus.desktop"},
                           {"org.gnome.Calculator", "/apps/org.gnome.Calculator.desktop"}};
    edit([&](Config& c) { c.behavior.reopenLastWheel = false; });
    for (const auto& [frontmost, wheel] : std::vector<std::pair<std::string, std::string>>{
             {"org.gnome.Nautilus", "c"}, {"org.gnome.Calculator", "a"}, {"org.example.Unknown", "a"}}) {
        workspace.frontmost = frontmost;
        summon();
        EXPECT_EQ(wheelState.activeWheelId(), wheel) << frontmost;
        release();
    }
}

TEST_F(HotkeyListen, BadInputNeverCrashesOrSticks) {
    std::vector<int> wide;
    for (int code = 0; code < 64; ++code)
        wide.push_back(code == option ? 100 : code);
    std::erase_if(wide, [](int c) { return c >= 54 && c <= 63; });
    for (int code = 101; wide.size() < 64; ++code)
        wide.push_back(code);
    edit([&](Config& c) {
        c.bindings = {makeBinding({option}), makeBinding(wide), makeBinding({1001, 70000})};
    });
    engine();

    // Releases without presses, and a storm of repeats while holding the binding.
    taps.keyUp(12);
    taps.buttonUp(3);
    taps.modifier(option, false);
    taps.modifier(option, true);
    for (int i = 0; i < 5000; ++i)
        taps.keyDown(option, 0, true);
    queue.advance(0.125);
    EXPECT_TRUE(isOpen());
    release();
    EXPECT_EQ(armedTaps(), 0);

    // A hundred keys at once, then the 64-key binding, then everything let go.
    for (std::uint16_t code = 0; code < 100; ++code)
        taps.keyDown(code);
    for (int code : wide)
        taps.keyDown(static_cast<std::uint16_t>(code));
    taps.buttonDown(3); // half of a binding that can never be held
    queue.advance(0.125);
    EXPECT_TRUE(isOpen());
    for (std::uint16_t code = 0; code < 200; ++code)
        taps.keyUp(code);
    taps.buttonUp(3);
    queue.advance(2);
    EXPECT_EQ(armedTaps(), 0);
    EXPECT_FALSE(overlay.visible);
    summon();
}
