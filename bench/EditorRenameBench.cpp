// A keystroke in the wheel-name field of My Wheels on a configuration of 100
// wheels of 12 slices, from the key to the saved file, with the files on a
// memory-backed folder as they would be in the page cache.

#include "BenchApplication.h"
#include "editor/EditorSession.h"
#include "editor/ui/WheelEditorPage.h"
#include "editor/ui/WheelSection.h"
#include "model/ConfigCoding.h"
#include "model/WheelState.h"
#include "overlay/ui/SliceIconSources.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFileWatcher.h"
#include "platform/sim/SimHomeFolder.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimLoginItems.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimSounds.h"
#include "platform/sim/SimWorkspace.h"
#include "store/ConfigStore.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

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

struct Session final : EditorSession {
    std::optional<Target> editorTarget() const override { return std::nullopt; }
    void clearEditorTarget() override {}
    std::optional<std::string> lastEditedWheelId() const override { return lastEdited; }
    void setLastEditedWheelId(const std::string& id) override { lastEdited = id; }
    bool isCapturingKeystroke() const override { return false; }
    bool wheelsPageShown() const override { return true; }
    bool suppressDeleteWheelConfirm() const override { return false; }
    void setSuppressDeleteWheelConfirm(bool) override {}
    std::optional<std::string> lastEdited;
};

// A fresh folder under /dev/shm, holding the configuration file.
std::filesystem::path memoryHome() {
    std::string pattern = "/dev/shm/rondelix-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("no folder under /dev/shm");
    const std::filesystem::path home = pattern;
    std::filesystem::create_directories(home / ".config/rondelix");
    std::ofstream(home / ".config/rondelix/config.json") << writeConfigFile(hundredWheels());
    return home;
}

// The page over a store whose files live under /dev/shm.
struct Rig {
    Rig() {
        store =
            std::make_unique<ConfigStore>(ConfigStore::Platform{queue, log, homeFolder, watcher, loginItems});
        if (store->config().wheels.size() != 100) throw std::runtime_error("the configuration did not load");
        page = std::make_unique<WheelEditorPage>(
            WheelEditorPage::Services{{*store, dialogs, log, workspace, homeFolder},
                                      std::make_shared<Session>(),
                                      sounds,
                                      queue,
                                      wheelState,
                                      {},
                                      icons,
                                      {}});
        page->resize(1440, 800);
        page->show();
        QCoreApplication::processEvents();
    }
    ~Rig() {
        page.reset();
        store.reset();
        std::error_code ec;
        std::filesystem::remove_all(home, ec);
    }

    std::filesystem::path home = memoryHome();
    platform::sim::SimMainQueue queue;
    platform::sim::SimLog log;
    platform::sim::SimHomeFolder homeFolder{home};
    platform::sim::SimFileWatcher watcher;
    platform::sim::SimLoginItems loginItems;
    platform::sim::SimDialogs dialogs;
    platform::sim::SimSounds sounds;
    platform::sim::SimWorkspace workspace{queue};
    WheelState wheelState;
    SliceIconSources icons;
    std::unique_ptr<ConfigStore> store;
    std::unique_ptr<WheelEditorPage> page;
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
        QKeyEvent press(QEvent::KeyPress, add ? Qt::Key_A : Qt::Key_Backspace, Qt::NoModifier,
                        add ? QStringLiteral("a") : QString());
        QCoreApplication::sendEvent(field, &press);
        add = !add;
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
    Session session;
    WheelEditor editor(
        {{*rig.store, rig.dialogs, rig.log, rig.workspace, rig.homeFolder}, session, rig.sounds, rig.queue});
    editor.appear();
    bool add = true;
    for (auto _ : state) {
        editor.setName(add ? "Wheel 1a" : "Wheel 1");
        add = !add;
    }
}
BENCHMARK(BM_RenameKeystrokeEditAndSave)->Unit(benchmark::kMillisecond);

} // namespace
