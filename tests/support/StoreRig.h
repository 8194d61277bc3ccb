#pragma once

#include "platform/sim/SimFileWatcher.h"
#include "platform/sim/SimHomeFolder.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimLoginItems.h"
#include "platform/sim/SimMainQueue.h"
#include "store/ConfigStore.h"
#include "support/TempHome.h"

#include <memory>

namespace rondelix::testing {

// Whole-file helpers; a file that cannot be read reads as "<unreadable>".
std::string readText(const std::filesystem::path& file);
void writeText(const std::filesystem::path& file, const std::string& text);

// Everything a configuration store needs, on the simulated platform with a
// temporary home. Lay out the files, then build the store with open().
struct StoreRig {
    platform::sim::SimMainQueue queue;
    platform::sim::SimLog log;
    TempHome home;
    platform::sim::SimHomeFolder homeFolder{home.path};
    platform::sim::SimFileWatcher watcher;
    platform::sim::SimLoginItems loginItems;
    ConfigPaths paths = ConfigPaths::in(homeFolder.configFolder());
    // What the stores opened next are told: why there is no writer lock, and
    // the most a configuration file may hold.
    std::optional<std::string> noWriterLock;
    std::size_t largestFile = maxConfigFileBytes;
    ConfigSaver::Seam whileSaving;

    // `saves` writes off the caller when given.
    std::unique_ptr<ConfigStore> open(platform::Background* saves = nullptr) {
        return std::make_unique<ConfigStore>(ConfigStore::Platform{
            queue, log, homeFolder, watcher, loginItems, saves, noWriterLock, largestFile, whileSaving});
    }

    std::optional<Config> onDisk() const;
    // The names in the configuration folder, sorted, and the texts of the files set aside there.
    std::vector<std::string> listing() const;
    std::vector<std::string> setAsideTexts() const;
};

void setWheelSize(ConfigStore& store, double size);

} // namespace rondelix::testing
