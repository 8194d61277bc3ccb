#include "editor/KeystrokeRecorder.h"

#include <gtest/gtest.h>

using namespace rondelix;

namespace {

struct Trace {
    KeystrokeRecorder recorder;
    std::vector<std::string> events;
    Trace() {
        recorder.onActiveChange = [this](bool on) { events.push_back(on ? "active" : "inactive"); };
        recorder.onCapture = [this](const KeyCombo& c) {
            events.push_back("capture " + std::to_string(c.keyCode));
        };
        recorder.onUnmappableKey = [this] { events.push_back("unmapped"); };
    }
};

TEST(KeystrokeRecorder, ReportsEachStartAndEndOnceWhicheverWayItEnds) {
    struct Case {
        const char* what;
        std::function<void(KeystrokeRecorder&)> steps;
        std::vector<std::string> events;
    };
    const std::vector<Case> cases{
        {"capture",
         [](KeystrokeRecorder& r) {
             r.start();
             r.start();
             r.keyPressed(53, {});
         },
         {"active", "capture 53", "inactive"}},
        {"stopped twice",
         [](KeystrokeRecorder& r) {
             r.start();
             r.stop();
             r.stop();
         },
         {"active", "inactive"}},
        {"unmapped key keeps recording",
         [](KeystrokeRecorder& r) {
             r.start();
             r.keyPressed(std::nullopt, {});
             r.keyPressed(36, {});
         },
         {"active", "unmapped", "capture 36", "inactive"}},
        {"idle presses pass",
         [](KeystrokeRecorder& r) {
             EXPECT_FALSE(r.keyPressed(8, {}));
             r.stop();
         },
         {}},
    };
    for (const Case& c : cases) {
        Trace trace;
        c.steps(trace.recorder);
        EXPECT_EQ(trace.events, c.events) << c.what;
        EXPECT_FALSE(trace.recorder.isRecording()) << c.what;
    }
}

TEST(KeystrokeRecorder, CapturesTheModifiersWithTheKeyAndIsObserved) {
    KeystrokeRecorder recorder;
    int changes = 0;
    recorder.recordingChanged.connect([&] { ++changes; });
    std::optional<KeyCombo> captured;
    recorder.onCapture = [&](const KeyCombo& combo) {
        captured = combo;
        EXPECT_TRUE(recorder.isRecording()) << "the capture is handed over before the recording ends";
    };
    recorder.start();
    recorder.start();
    EXPECT_TRUE(recorder.keyPressed(8, KeyCombo{99, true, false, false, false}));
    EXPECT_EQ(captured, (KeyCombo{8, true, false, false, false}));
    EXPECT_EQ(changes, 2);
}

} // namespace
