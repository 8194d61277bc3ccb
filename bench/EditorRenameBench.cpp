// A keystroke in the wheel-name field of My Wheels on a configuration of 100
// wheels of 12 slices, from the key to the saved file, with the files on a
// memory-backed folder as they would be in the page cache.

#include "EditorPageRig.h"
#include "editor/ui/WheelSection.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <benchmark/benchmark.h>

using namespace rondelix;

namespace {

Config hundredWheels() {
    Config config;
    config.version = Config::currentVersion;
    config.bindings.push_back({Uuid::generate(), {58}, 100, true});
    for (int w = 0; w < 100; ++w) {
        Wheel wheel;
        wheel.id = "wheel-" + std::to_string(w + 1);
        wheel.name = "Wheel " + std::to_string(w + 1);
        wheel.sliceCount = 12;
        for (int s = 0; s < 12; ++s)
            wheel.slices.push_back({Uuid::generate(), s, "Slice " + std::to_string(s),
                                    Icon::SfSymbol{"star.fill"}, MacroAction::Text{std::string(80, 'x')}});
        config.wheels.push_back(std::move(wheel));
    }
    config.lastUsedWheelId = "wheel-1";
    return config;
}

// The page over the hundred wheels.
struct Rig : bench::EditorPageRig {
    Rig() : EditorPageRig(hundredWheels()) {
        openStore();
        makePage();
    }
};

// One key through the page: the application's filters, the field, the
// editor's coalesced edit, the save and the page's redraw of 100 pills.
void BM_RenameKeystrokeThroughThePage(benchmark::State& state) {
    ensureApplication();
    Rig rig;
    QLineEdit* field = rig.page->wheelSection().nameField();
    field->setFocus();
    bool add = true;
    for (auto _ : state) {
        bench::typeOrErase(*field, add);
    }
    if (rig.store->config().wheels.front().name.rfind("Wheel 1", 0) != 0)
        state.SkipWithError("the rename went astray");
}
BENCHMARK(BM_RenameKeystrokeThroughThePage)->Unit(benchmark::kMillisecond);

// The same edit without the view: the editor, the store and the save.
void BM_RenameKeystrokeEditAndSave(benchmark::State& state) {
    ensureApplication();
    Rig rig;
    rig.page.reset();
    bench::BenchSession session;
    WheelEditor editor({{*rig.store, rig.dialogs, rig.log, rig.workspace, rig.homeFolder, rig.images},
                        session,
                        rig.sounds,
                        rig.queue});
    editor.appear();
    bool add = true;
    for (auto _ : state) {
        editor.setName(add ? "Wheel 1a" : "Wheel 1");
        add = !add;
    }
}
BENCHMARK(BM_RenameKeystrokeEditAndSave)->Unit(benchmark::kMillisecond);

} // namespace
