// The listen tap's handler runs inside the system's event delivery for every
// key, modifier and extra button anywhere on the desktop: it must stay far
// below a microsecond per event.
#include "engine/HotkeyManager.h"
#include "model/WheelState.h"
#include "platform/sim/SimFileWatcher.h"
#include "platform/sim/SimHomeFolder.h"
#include "platform/sim/SimLoginItems.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimWorkspace.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <set>

using namespace rondelix;
using platform::EventType;
using platform::InputEvent;

namespace {

// Hands the engine's listen callback to the benchmark and answers the live
// key state from a set, as cheaply as a real implementation could.
class BenchTaps final : public platform::EventTaps {
  public:
    struct Tap final : platform::EventTap {
        bool isEnabled() const override { return true; }
        void setEnabled(bool) override {}
    };
    std::unique_ptr<platform::EventTap> createTap(platform::TapMode mode, platform::EventMask,
                                                  Callback cb) override {
        if (mode == platform::TapMode::listenOnly) listen = std::move(cb);
        return std::make_unique<Tap>();
    }
    bool isKeyDown(std::uint16_t code) const override { return down.contains(code); }
    bool isButtonDown(int) const override { return false; }
    std::uint64_t flagsState() const override { return 0; }
    platform::Point pointerTravelSince(double) const override { return {}; }
    void setSummonChords(std::vector<platform::KeyChord>) override {}
    void withholdUntilReleased(std::uint16_t) override {}
    bool isSecureInputEnabled() const override { return false; }
    void postKey(std::uint16_t, bool, std::uint64_t) override {}
    void postMediaKey(int, bool) override {}

    void deliver(EventType type, std::uint16_t code) {
        if (type == EventType::keyDown) down.insert(code);
        if (type == EventType::keyUp) down.erase(code);
        benchmark::DoNotOptimize(listen(InputEvent{.type = type, .keyCode = code}));
    }

    Callback listen;
    std::set<std::uint16_t> down;
};

// Deferred steps cost what scheduling costs; none of them ever runs here.
class BenchQueue final : public platform::MainQueue {
  public:
    void post(std::function<void()>) override {}
    platform::Cancel after(double, std::function<void()>) override {
        return platform::Cancel(std::make_shared<bool>(false));
    }
    double now() const override { return 0; }
};

struct NullLog final : platform::Log {
    void write(std::string_view) override {}
};

// A store in a folder of its own, removed afterwards.
struct TemporaryStore {
    static std::filesystem::path makeHome() {
        std::string pattern = (std::filesystem::temp_directory_path() / "rondelix-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        return pattern;
    }
    ~TemporaryStore() {
        std::error_code ec;
        std::filesystem::remove_all(home, ec);
    }
    std::filesystem::path home = makeHome();
    platform::sim::SimMainQueue queue;
    platform::sim::SimHomeFolder homeFolder{home};
    platform::sim::SimFileWatcher watcher;
    platform::sim::SimLoginItems loginItems;
};

struct NoOverlay final : SummonOverlay {
    void show(platform::Point) override {}
    void hide() override {}
    std::optional<SummonPanel> visiblePanel() const override { return std::nullopt; }
};
struct NoActions final : SummonActions {
    void fire(const MacroAction&) override {}
};
struct NoFeedback final : SummonFeedback {
    void aim() override {}
    void fire() override {}
};
struct NoScreens final : platform::Screens {
    std::vector<platform::Screen> screens() const override { return {}; }
    std::optional<platform::Screen> mainScreen() const override { return std::nullopt; }
    platform::Point pointerLocation() const override { return {}; }
    void warpPointer(platform::Point) override {}
    platform::DisplayOptions displayOptions() const override { return {}; }
};

// An engine listening with three bindings: Option+Command, extra button 3
// and Option+Space.
struct Listening {
    Listening() {
        Config config = store.config();
        config.bindings.clear();
        for (std::vector<int> codes : {std::vector<int>{58, 55}, {1001}, {58, 49}})
            config.bindings.push_back(SummonBinding{.id = Uuid::generate(), .keyCodes = codes});
        store.setConfig(config);
        engine.start();
    }
    BenchTaps taps;
    BenchQueue queue;
    NullLog log;
    NoScreens screens;
    TemporaryStore disk;
    ConfigStore store{{disk.queue, log, disk.homeFolder, disk.watcher, disk.loginItems}};
    platform::sim::SimWorkspace workspace{disk.queue};
    WheelState wheelState;
    NoOverlay overlay;
    NoActions actions;
    NoFeedback feedback;
    HotkeyManager engine{store,   wheelState, overlay,
                         actions, feedback,   {queue, log, taps, screens, workspace, [] { return false; }}};
};

void listenKey(benchmark::State& state, std::uint16_t code) {
    Listening l;
    for (auto _ : state) {
        l.taps.deliver(EventType::keyDown, code);
        l.taps.deliver(EventType::keyUp, code);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

void BM_ListenKeyInNoBinding(benchmark::State& state) {
    listenKey(state, 0);
}
BENCHMARK(BM_ListenKeyInNoBinding);

// Space belongs to Option+Space; without Option it completes nothing.
void BM_ListenKeyInABinding(benchmark::State& state) {
    listenKey(state, 49);
}
BENCHMARK(BM_ListenKeyInABinding);

// Option held: each Space press completes the binding and starts a hold
// threshold, each release cancels it.
void BM_ListenBindingPressAndRelease(benchmark::State& state) {
    Listening l;
    l.taps.listen(InputEvent{.type = EventType::flagsChanged, .keyCode = 58, .flags = 0x80020});
    for (auto _ : state) {
        l.taps.deliver(EventType::keyDown, 49);
        l.taps.deliver(EventType::keyUp, 49);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_ListenBindingPressAndRelease);

void BM_ListenModifierChange(benchmark::State& state) {
    Listening l;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            l.taps.listen(InputEvent{.type = EventType::flagsChanged, .keyCode = 56, .flags = 0x20002}));
        benchmark::DoNotOptimize(
            l.taps.listen(InputEvent{.type = EventType::flagsChanged, .keyCode = 56, .flags = 0}));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_ListenModifierChange);

} // namespace
