#include "settings/SummonComboRecorder.h"

#include "platform/EventTaps.h"

#include <gtest/gtest.h>
#include <string>

namespace rondelix {
namespace {

using Type = MonitoredKeyEvent::Type;

// A monitor the test feeds by hand; it records whether it is installed.
struct FakeMonitors {
    struct Monitor : KeyEventMonitor {
        explicit Monitor(FakeMonitors& owner) : owner(owner) { ++owner.installed; }
        ~Monitor() override {
            --owner.installed;
            owner.handler = nullptr;
        }
        FakeMonitors& owner;
    };
    KeyEventMonitorFactory factory() {
        return [this](std::function<void(const MonitoredKeyEvent&)> h) {
            handler = std::move(h);
            return std::make_unique<Monitor>(*this);
        };
    }
    std::function<void(const MonitoredKeyEvent&)> handler;
    int installed = 0;
};

// Steps of a recording in a compact script: "+55" a modifier down, "-55" it
// goes up, "d15" a key goes down, "u15" it goes up, "m2"/"M2" mouse button 2
// down/up, "f57:1" a flags change of key 57 with bit 1 set.
void play(SummonComboRecorder& recorder, FakeMonitors& monitors, const std::vector<std::string>& steps) {
    for (const std::string& step : steps) {
        const char kind = step[0];
        const int code = std::stoi(step.substr(1));
        const auto bit = [](int c) -> std::uint64_t {
            switch (c) {
            case 54:
                return ModifierFlag::rightCommand;
            case 55:
                return ModifierFlag::leftCommand;
            case 56:
                return ModifierFlag::leftShift;
            case 58:
                return ModifierFlag::leftOption;
            case 59:
                return ModifierFlag::leftControl;
            case 60:
                return ModifierFlag::rightShift;
            case 61:
                return ModifierFlag::rightOption;
            case 62:
                return ModifierFlag::rightControl;
            case 63:
                return ModifierFlag::function;
            default:
                return ~std::uint64_t{0};
            }
        };
        switch (kind) {
        case '+':
            monitors.handler({Type::flagsChanged, code, bit(code)});
            break;
        case '-':
            monitors.handler({Type::flagsChanged, code, 0});
            break;
        case 'd':
            monitors.handler({Type::keyDown, code, {}});
            break;
        case 'u':
            monitors.handler({Type::keyUp, code, {}});
            break;
        case 'm':
            recorder.handleMouseButton(code, true);
            break;
        case 'M':
            recorder.handleMouseButton(code, false);
            break;
        case 'n':
            monitors.handler({Type::flagsChanged, code, std::nullopt});
            break;
        }
    }
}

class SummonComboRecorderTest : public ::testing::Test {
  protected:
    SummonComboRecorderTest() {
        recorder.onActiveChange = [this](bool active) { calls.push_back(active ? "active" : "inactive"); };
        recorder.onCommit = [this](const std::vector<int>& keys) {
            calls.push_back("commit");
            committed = keys;
        };
    }
    FakeMonitors monitors;
    SummonComboRecorder recorder{monitors.factory()};
    std::vector<std::string> calls;
    std::vector<int> committed;
};

TEST_F(SummonComboRecorderTest, ThePeakRule) {
    struct Case {
        const char* name;
        std::vector<std::string> steps;
        std::vector<int> captured;
    };
    const Case cases[] = {
        {"Super then R", {"+55", "d15", "u15", "-55"}, {55, 15}},
        {"R alone", {"d15", "u15"}, {}},
        {"F5 alone", {"d96"}, {96}},
        {"F13 alone", {"d105"}, {105}},
        {"Print Screen alone", {"d108"}, {108}},
        {"Super and Alt", {"+55", "+58"}, {55, 58}},
        {"releasing Alt keeps the peak", {"+55", "+58", "-58"}, {55, 58}},
        {"an equal set later wins", {"+55", "+58", "-58", "+59"}, {55, 59}},
        {"a new press after all went up starts over",
         {"+55", "+58", "-58", "+59", "-59", "-55", "+60"},
         {60}},
        {"Caps Lock never", {"+57", "f57", "+55", "+57", "d57"}, {55}},
        {"Super and the middle button", {"+55", "m2"}, {55, 1000}},
        {"a mouse button needs no modifier", {"m3"}, {1001}},
        {"left and right buttons are ignored", {"m0", "m1"}, {}},
        {"buttons past 31 are ignored", {"m31", "M31", "m32", "m200"}, {1029}},
        {"a flags change without a flag word is ignored", {"n55"}, {}},
        {"releasing a key not held changes nothing", {"+55", "u15", "-56", "d15"}, {55, 15}},
        {"repeats change nothing", {"+55", "d15", "d15", "d15"}, {55, 15}},
        {"Fn counts as a modifier", {"+63", "d15"}, {63, 15}},
    };
    for (const Case& c : cases) {
        recorder.start();
        play(recorder, monitors, c.steps);
        EXPECT_EQ(recorder.captured(), c.captured) << c.name;
        recorder.stop();
    }
}

TEST_F(SummonComboRecorderTest, StartStopAndConfirmOrder) {
    recorder.start();
    EXPECT_EQ(monitors.installed, 1);
    recorder.confirm(); // nothing captured: keeps recording
    EXPECT_TRUE(recorder.isRecording());
    play(recorder, monitors, {"+55", "d15"});
    recorder.start(); // a second start resets nothing and says nothing
    EXPECT_EQ(recorder.captured(), (std::vector<int>{55, 15}));
    play(recorder, monitors, {"u15", "-55"});
    recorder.confirm();
    EXPECT_EQ(calls, (std::vector<std::string>{"active", "inactive", "commit"}));
    EXPECT_EQ(committed, (std::vector<int>{55, 15}));
    EXPECT_EQ(monitors.installed, 0); // keys reach the program's windows again
    EXPECT_FALSE(recorder.isRecording());
    recorder.stop(); // idle: nothing
    recorder.handleMouseButton(2, true);
    EXPECT_EQ(recorder.captured(), (std::vector<int>{55, 15}));
    EXPECT_EQ(calls.size(), 3u);
}

TEST_F(SummonComboRecorderTest, StopKeepsTheCaptureUntilTheNextStart) {
    recorder.start();
    play(recorder, monitors, {"d96"});
    recorder.stop();
    EXPECT_EQ(recorder.captured(), (std::vector<int>{96}));
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_EQ(committed, std::vector<int>{});
    recorder.start();
    EXPECT_TRUE(recorder.captured().empty());
}

TEST_F(SummonComboRecorderTest, ObserversHearOnlyRealChanges) {
    int changes = 0;
    recorder.changed.connect([&] { ++changes; });
    recorder.start();
    EXPECT_EQ(changes, 1);
    play(recorder, monitors, {"+55", "+55", "d15", "u15", "d15"});
    EXPECT_EQ(changes, 3);
}

} // namespace
} // namespace rondelix
