#pragma once

#include "engine/HotkeyManager.h"
#include "model/WheelState.h"
#include "platform/sim/SimEventTaps.h"
#include "platform/sim/SimScreens.h"
#include "platform/sim/SimWorkspace.h"
#include "support/StoreRig.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace rondelix::testsupport {

// An overlay that shows its panel centred where the pointer was given, as the
// controller does for the cursor position, and writes the wheel state as the
// controller does.
struct RecordingOverlay final : SummonOverlay {
    explicit RecordingOverlay(WheelState& state) : state(state) {}
    void show(platform::Point pointer) override {
        ++shows;
        visible = true;
        const platform::Point p = placeAt.value_or(pointer);
        panel = {p.x, p.y, 320};
        state.setVisible(true);
    }
    void hide() override {
        ++hides;
        visible = false;
        state.reset();
    }
    std::optional<SummonPanel> visiblePanel() const override {
        return visible ? std::optional<SummonPanel>(panel) : std::nullopt;
    }
    WheelState& state;
    std::optional<platform::Point> placeAt;
    SummonPanel panel;
    bool visible = false;
    int shows = 0;
    int hides = 0;
};

struct RecordingActions final : SummonActions {
    void fire(const MacroAction& action) override { fired.push_back(action.as<MacroAction::Text>()->text); }
    std::vector<std::string> fired;
};

struct CountingFeedback final : SummonFeedback {
    void aim() override { ++aims; }
    void fire() override { ++fires; }
    int aims = 0;
    int fires = 0;
};

inline Wheel makeWheel(std::string id, int slots, int filled) {
    Wheel w{.id = id, .sliceCount = slots};
    for (int i = 0; i < filled; ++i)
        w.slices.push_back(Slice{
            .id = Uuid::generate(), .position = i, .action = MacroAction::Text{id + std::to_string(i)}});
    return w;
}

inline SummonBinding makeBinding(std::vector<int> codes, int thresholdMs = 125) {
    return SummonBinding{
        .id = Uuid::generate(), .keyCodes = std::move(codes), .holdThresholdMs = thresholdMs};
}

constexpr std::uint16_t option = 58;
constexpr std::uint16_t shiftKey = 56;
constexpr std::uint16_t command = 55;

// One engine on the simulated platform: Option summons after 125 ms, wheels
// "a" (8 slots, 0 to 3 filled), "b" (4 slots, 0 to 1 filled) and "c" (12
// slots, empty); the pointer sits at (500, 500) and the panel opens there.
class SummonHarness : public ::testing::Test {
  protected:
    SummonHarness() {
        edit([](Config& c) {
            c.bindings = {makeBinding({option})};
            c.behavior = Behavior{};
            c.wheels = {makeWheel("a", 8, 4), makeWheel("b", 4, 2), makeWheel("c", 12, 0)};
            c.lastUsedWheelId = "a";
        });
        screens.layout = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1050}}};
        screens.pointer = {500, 500};
    }

    // Changes the configuration as a reload would: at once, unsanitized.
    void edit(const std::function<void(Config&)>& change) {
        Config config = store->config();
        change(config);
        store->setConfig(std::move(config));
    }

    HotkeyManager& engine() {
        if (!engine_) {
            engine_ =
                std::make_unique<HotkeyManager>(*store, wheelState, overlay, actions, feedback,
                                                HotkeyManager::Platform{queue, log, taps, screens, workspace,
                                                                        [this] { return programActive; }});
            engine_->start();
        }
        return *engine_;
    }

    // Holds Option past the threshold; the wheel is then open.
    void summon() {
        engine();
        taps.modifier(option, true);
        queue.advance(0.125);
        ASSERT_TRUE(isOpen());
    }
    void release() {
        taps.modifier(option, false);
        queue.runPending();
    }
    bool isOpen() const { return overlay.visible && armedTaps() == 1; }
    int armedTaps() const { return taps.tapCount(platform::TapMode::intercepting); }
    // Moves the pointer to the middle of a slot of an 8-slot wheel.
    void pointAt(double slot, int count = 8) {
        const double angle = slot * 2 * std::numbers::pi / count;
        screens.pointer = {overlay.panel.centerX + 120 * std::sin(angle),
                           overlay.panel.centerY + 120 * std::cos(angle)};
        taps.mouseMoved();
    }
    void typeKey(std::uint16_t code, char16_t typed = 0) {
        platform::InputEvent e{
            .type = platform::EventType::keyDown, .keyCode = code, .flags = taps.flagsState()};
        if (typed) e.characters = std::u16string(1, typed);
        taps.inject(e);
        taps.keyUp(code);
    }

    testing::StoreRig rig;
    platform::sim::SimMainQueue& queue = rig.queue;
    platform::sim::SimLog& log = rig.log;
    std::unique_ptr<ConfigStore> store = rig.open();
    platform::sim::SimEventTaps taps{queue};
    platform::sim::SimScreens screens;
    platform::sim::SimWorkspace workspace{queue};
    WheelState wheelState;
    RecordingOverlay overlay{wheelState};
    RecordingActions actions;
    CountingFeedback feedback;
    bool programActive = false;
    std::unique_ptr<HotkeyManager> engine_;
};

} // namespace rondelix::testsupport
