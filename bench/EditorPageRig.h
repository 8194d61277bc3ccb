#pragma once

// The wheel editor page over a store whose configuration file lies in a
// memory-backed folder, as it would sit in the page cache.

#include "BenchApplication.h"
#include "editor/EditorSession.h"
#include "editor/ui/WheelEditorPage.h"
#include "model/ConfigCoding.h"
#include "model/WheelState.h"
#include "overlay/ui/SliceIconSources.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFileWatcher.h"
#include "platform/sim/SimHomeFolder.h"
#include "platform/sim/SimImages.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimLoginItems.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimSounds.h"
#include "platform/sim/SimWorkspace.h"
#include "store/ConfigStore.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <unistd.h>

namespace rondelix::bench {

struct BenchSession final : EditorSession {
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

// A fresh folder under /dev/shm holding the configuration file.
inline std::filesystem::path memoryHome(const Config& config) {
    std::string pattern = "/dev/shm/rondelix-bench-XXXXXX";
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("no folder under /dev/shm");
    const std::filesystem::path home = pattern;
    std::filesystem::create_directories(home / ".config/rondelix");
    std::ofstream(home / ".config/rondelix/config.json") << writeConfigFile(config);
    return home;
}

// The files, then, once opened, the store over them and the page shown at
// 1440×800.
struct EditorPageRig {
    explicit EditorPageRig(const Config& config)
        : home(memoryHome(config)), wheelCount(config.wheels.size()) {}
    ~EditorPageRig() {
        page.reset();
        store.reset();
        std::error_code ec;
        std::filesystem::remove_all(home, ec);
    }

    // `saves` writes off the window's thread when given.
    void openStore(platform::Background* saves = nullptr) {
        store = std::make_unique<ConfigStore>(
            ConfigStore::Platform{queue, log, homeFolder, watcher, loginItems, saves});
        if (store->config().wheels.size() != wheelCount)
            throw std::runtime_error("the configuration did not load");
    }

    void makePage() {
        page = std::make_unique<WheelEditorPage>(
            WheelEditorPage::Services{{*store, dialogs, log, workspace, homeFolder, images},
                                      std::make_shared<BenchSession>(),
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

    std::filesystem::path home;
    std::size_t wheelCount;
    platform::sim::SimMainQueue queue;
    platform::sim::SimLog log;
    platform::sim::SimHomeFolder homeFolder{home};
    platform::sim::SimFileWatcher watcher;
    platform::sim::SimLoginItems loginItems;
    platform::sim::SimDialogs dialogs;
    platform::sim::SimSounds sounds;
    platform::sim::SimWorkspace workspace{queue};
    platform::sim::SimImages images;
    WheelState wheelState;
    SliceIconSources icons;
    std::unique_ptr<ConfigStore> store;
    std::unique_ptr<WheelEditorPage> page;
};

// One key into a text field, an "a" and a Backspace in turn, so that a
// run of keys keeps the text as it was.
inline void typeOrErase(QLineEdit& field, bool& add) {
    QKeyEvent press(QEvent::KeyPress, add ? Qt::Key_A : Qt::Key_Backspace, Qt::NoModifier,
                    add ? QStringLiteral("a") : QString());
    QCoreApplication::sendEvent(&field, &press);
    add = !add;
}

} // namespace rondelix::bench
