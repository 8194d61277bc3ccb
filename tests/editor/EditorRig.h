#pragma once

#include "editor/EditorSession.h"
#include "editor/WheelEditor.h"
#include "model/ConfigCoding.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimImages.h"
#include "platform/sim/SimSounds.h"
#include "platform/sim/SimWorkspace.h"
#include "support/StoreRig.h"

#include <memory>

namespace rondelix::testing {

// The editor's shared state as plain fields.
struct FakeEditorSession final : EditorSession {
    std::optional<Target> editorTarget() const override { return target; }
    void clearEditorTarget() override { target.reset(); }
    std::optional<std::string> lastEditedWheelId() const override { return lastEdited; }
    void setLastEditedWheelId(const std::string& id) override { lastEdited = id; }
    bool isCapturingKeystroke() const override { return capturing; }
    bool wheelsPageShown() const override { return onWheelsPage; }
    bool suppressDeleteWheelConfirm() const override { return suppressDelete; }
    void setSuppressDeleteWheelConfirm(bool suppress) override { suppressDelete = suppress; }

    void request(const std::string& wheelId, int position) {
        target = Target{wheelId, position};
        editorTargetChanged.emit();
    }

    std::optional<Target> target;
    std::optional<std::string> lastEdited;
    bool capturing = false;
    bool onWheelsPage = true;
    bool suppressDelete = false;
};

inline Slice slice(int position, std::string label = "S") {
    return Slice{Uuid::generate(), position, std::move(label), Icon{}, MacroAction{MacroAction::Text{"t"}}};
}

inline Wheel wheel(std::string id, std::string name, int sliceCount = 8, std::vector<int> filled = {}) {
    Wheel w;
    w.id = std::move(id);
    w.name = std::move(name);
    w.sliceCount = sliceCount;
    for (int p : filled)
        w.slices.push_back(slice(p, "S" + std::to_string(p)));
    return w;
}

// Wheels named "Wheel 1" … with ids "w1" …
inline std::vector<Wheel> numberedWheels(int count) {
    std::vector<Wheel> list;
    for (int i = 1; i <= count; ++i)
        list.push_back(wheel("w" + std::to_string(i), "Wheel " + std::to_string(i)));
    return list;
}

// An editor over a store in a temporary home whose file holds the given wheels.
struct EditorRig : StoreRig {
    explicit EditorRig(std::vector<Wheel> wheels, std::string lastUsed = "default") {
        Config config;
        config.version = Config::currentVersion;
        config.wheels = std::move(wheels);
        config.lastUsedWheelId = std::move(lastUsed);
        writeText(paths.config, writeConfigFile(config));
        store = open();
        editor = std::make_unique<WheelEditor>(WheelEditor::Services{
            ConfigTransferServices{*store, dialogs, log, workspace, homeFolder, images, {}}, session, sounds,
            queue});
        editor->onQuit = [this] { ++quits; };
    }

    WheelEditor& e() { return *editor; }
    const std::vector<Wheel>& wheels() const { return store->config().wheels; }
    std::vector<std::string> ids() const {
        std::vector<std::string> out;
        for (const Wheel& w : wheels())
            out.push_back(w.id);
        return out;
    }
    // Replaces the file as another program would and lets the store notice.
    void rewriteOutside(std::vector<Wheel> list) {
        Config config = store->config();
        config.wheels = std::move(list);
        writeText(paths.config, writeConfigFile(config));
        watcher.fire(platform::FileWatcher::Change::modified);
        queue.advance(ConfigStore::debounceDelay + 0.01);
    }

    platform::sim::SimDialogs dialogs;
    platform::sim::SimSounds sounds;
    platform::sim::SimWorkspace workspace{queue};
    platform::sim::SimImages images;
    FakeEditorSession session;
    std::unique_ptr<ConfigStore> store;
    std::unique_ptr<WheelEditor> editor;
    int quits = 0;
};

} // namespace rondelix::testing
