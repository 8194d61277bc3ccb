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

// Everything a configuration store needs, on the simulated platform with a
// temporary home folder. Build the store with open() once the files are laid out.
struct StoreRig {
    platform::sim::SimMainQueue queue;
    platform::sim::SimLog log;
    TempHome home;
    platform::sim::SimHomeFolder homeFolder{home.path()};
    platform::sim::SimFileWatcher watcher;
    platform::sim::SimLoginItems loginItems;
    ConfigPaths paths = home.configPaths();

    std::unique_ptr<ConfigStore> open() {
        return std::make_unique<ConfigStore>(ConfigStore::Platform{queue, log, homeFolder, watcher, loginItems});
    }
};

} // namespace rondelix::testing
