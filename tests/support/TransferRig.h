#pragma once

#include "icons/IconStore.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimImages.h"
#include "platform/sim/SimWorkspace.h"
#include "store/ConfigTransferServices.h"
#include "support/StoreRig.h"

#include <memory>

namespace rondelix::testing {

// A store on the simulated platform with scripted dialogs, ready for moving
// wheels and configurations in and out of files.
struct TransferRig : StoreRig {
    platform::sim::SimDialogs dialogs;
    platform::sim::SimWorkspace workspace{queue};
    platform::sim::SimImages images;
    std::unique_ptr<ConfigStore> store = open();
    std::filesystem::path icons = IconStore::directoryIn(home.path / ".config/rondelix");

    ConfigTransferServices services() { return {*store, dialogs, log, workspace, homeFolder, images, {}}; }
    // Opens the store again over files a test laid out.
    void reopen() {
        store.reset();
        store = open();
    }

    std::vector<std::string> alertMessages() const {
        std::vector<std::string> messages;
        for (const auto& alert : dialogs.alerts)
            messages.push_back(alert.message + " / " + alert.informativeText);
        return messages;
    }
};

} // namespace rondelix::testing
