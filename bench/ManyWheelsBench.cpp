// My Wheels on a configuration of 100,000 wheels (about 40 MB, under every
// cap) and on one wheel named with 10 MB: from the file to the page on the
// screen, and what a change costs the page once it shows. The target is a
// page ready within 2 s that answers a change at once.

#include "EditorPageRig.h"
#include "editor/ui/WheelSection.h"
#include "platform/sim/SimBackground.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

using namespace rondelix;

namespace {

constexpr int manyWheels = 100000;

Config wheelsNamed(int count, const std::function<std::string(int)>& name) {
    Config config;
    config.version = Config::currentVersion;
    config.bindings.push_back({Uuid::generate(), {58}, 100, true});
    for (int w = 0; w < count; ++w) {
        Wheel wheel;
        wheel.id = "wheel-" + std::to_string(w + 1);
        wheel.name = name(w);
        wheel.slices.push_back({Uuid::generate(), 0, "Notes", Icon::SfSymbol{"star.fill"},
                                MacroAction::Text{"Thanks for reaching out!"}});
        config.wheels.push_back(std::move(wheel));
    }
    config.lastUsedWheelId = "wheel-1";
    return config;
}

const Config& hundredThousandWheels() {
    static const Config config =
        wheelsNamed(manyWheels, [](int w) { return "Wheel number " + std::to_string(w + 1) + " of many"; });
    return config;
}

const Config& tenMegabyteName() {
    static const Config config = wheelsNamed(
        3, [](int w) { return w == 0 ? std::string(10u << 20, 'W') : "Wheel " + std::to_string(w + 1); });
    return config;
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Reading the file, building the page and showing it, first paint included.
void fileToShownPage(benchmark::State& state, const Config& config) {
    ensureApplication();
    for (auto _ : state) {
        state.PauseTiming();
        auto rig = std::make_unique<bench::EditorPageRig>(config);
        state.ResumeTiming();
        rig->openStore();
        rig->makePage();
        state.PauseTiming();
        rig.reset();
        state.ResumeTiming();
    }
    state.counters["peak MB"] = peakMegabytes();
}

void BM_HundredThousandWheelsFileToShownPage(benchmark::State& state) {
    fileToShownPage(state, hundredThousandWheels());
}
BENCHMARK(BM_HundredThousandWheelsFileToShownPage)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TenMegabyteWheelNameFileToShownPage(benchmark::State& state) {
    fileToShownPage(state, tenMegabyteName());
}
BENCHMARK(BM_TenMegabyteWheelNameFileToShownPage)->Unit(benchmark::kMillisecond)->Iterations(3);

// A click on another wheel's pill, to the page drawn again around it.
void BM_HundredThousandWheelsSelectAnother(benchmark::State& state) {
    ensureApplication();
    bench::EditorPageRig rig(hundredThousandWheels());
    rig.openStore();
    rig.makePage();
    int next = 1;
    for (auto _ : state) {
        rig.page->editor().select("wheel-" + std::to_string(next % 20 + 1), 0);
        QCoreApplication::processEvents();
        ++next;
    }
}
BENCHMARK(BM_HundredThousandWheelsSelectAnother)->Unit(benchmark::kMillisecond);

// A key typed into the selected wheel's name, to the page drawn again: what
// the window's thread spends on it, handing the save over included; the
// save itself is written between keys, untimed, as the saving thread would.
// Typing must answer within a frame (16 ms) however large the configuration.
void BM_HundredThousandWheelsRenameKeystroke(benchmark::State& state) {
    ensureApplication();
    bench::EditorPageRig rig(hundredThousandWheels());
    platform::sim::SimBackground saves;
    rig.openStore(&saves);
    rig.makePage();
    QLineEdit* field = rig.page->wheelSection().nameField();
    field->setFocus();
    bool add = true;
    for (auto _ : state) {
        bench::typeOrErase(*field, add);
        QCoreApplication::processEvents();
        state.PauseTiming();
        saves.runAll();
        rig.queue.runPending();
        state.ResumeTiming();
    }
    if (rig.log.lines().size() != 0) state.SkipWithError("a save failed");
}
BENCHMARK(BM_HundredThousandWheelsRenameKeystroke)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
