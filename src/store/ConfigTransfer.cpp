#include "store/ConfigTransfer.h"

#include "files/FileAccess.h"
#include "icons/ExportedIcons.h"
#include "model/ActionClassification.h"
#include "model/ConfigCoding.h"
#include "platform/Dialogs.h"
#include "platform/Log.h"
#include "platform/Workspace.h"
#include "store/ConfigMigration.h"
#include "store/ConfigStore.h"
#include "store/FormerFactoryLabels.h"
#include "store/FormerWindowTilerBinding.h"
#include "store/ImportReview.h"
#include "store/TopLevelKeys.h"

namespace rondelix {

namespace {

// The same file however it is reached: through links, "..", or not yet there.
bool isSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code ec;
    const auto resolvedA = std::filesystem::weakly_canonical(a, ec);
    if (ec) return false;
    const auto resolvedB = std::filesystem::weakly_canonical(b, ec);
    return !ec && resolvedA == resolvedB;
}

std::vector<std::string> codeWarnings(const Config& config, const ApplicationFolders& installed) {
    std::vector<std::string> warnings;
    for (const auto& wheel : config.wheels)
        for (auto& warning : rondelix::codeWarnings(wheel, installed))
            warnings.push_back(std::move(warning));
    return warnings;
}

} // namespace

void ConfigTransfer::exportConfig() {
    ConfigStore& store = services_.store;
    const auto location = services_.dialogs.chooseSaveLocation({suggestedFileName, {"json"}});
    if (!location) return;
    if (isSameFile(*location, store.paths().config)) {
        services_.showFailure("Export Failed", "That is the live config file. Choose a different location.");
        return;
    }

    std::string bytes;
    if (store.config().version > Config::currentVersion) {
        // A newer version's file goes out exactly as it is, members this
        // version does not know included.
        Result<std::string> read = readWholeFile(store.paths().config);
        if (!read.ok()) {
            services_.log.write("export failed: " + read.error());
            services_.showFailure("Export Failed", "The file could not be written: " + read.error());
            return;
        }
        bytes = std::move(read).value();
    } else {
        Config copy = store.config();
        ExportedIcons icons;
        for (auto& wheel : copy.wheels)
            embedIcons(wheel, services_.iconsFolder(), icons);
        if (icons.empty()) {
            copy.exportedIcons.reset();
        } else {
            copy.exportedIcons.emplace(std::move(icons));
        }
        bytes = writeConfigFile(copy);
    }
    if (const auto written =
            writeFileAtomically(*location, bytes, TemporaryName::fresh, NewFileMode::userUmask);
        !written.ok()) {
        services_.log.write("export failed: " + written.error());
        services_.showFailure("Export Failed", "The file could not be written: " + written.error());
    }
}

void ConfigTransfer::importConfig() {
    ConfigStore& store = services_.store;
    const auto file = services_.dialogs.chooseFileToOpen({{"json"}});
    if (!file) return;
    const auto bytes = services_.readImportFile(*file);
    if (!bytes) return;

    const auto keys = TopLevelKeys::read(*bytes);
    auto config = keys && (keys->contains("wheels") || keys->contains("bindings")) ? decodeConfigBytes(*bytes)
                                                                                   : std::nullopt;
    if (!config) {
        services_.showFailure("Import Failed", "This is not a Rondelix config file, or it is damaged.");
        return;
    }

    const auto warnings = codeWarnings(*config, services_.workspace.applicationFolders());
    if (!warnings.empty() && !ImportReview::confirmCodeImport(services_.dialogs, warnings)) return;

    if (config->exportedIcons) {
        services_.restorePictures("Adding the configuration's pictures…", *config->exportedIcons);
        config->exportedIcons.reset();
    }
    ConfigStore::sanitize(*config);
    migrateIfNeeded(*config);
    renameFormerFactoryLabels(*config);
    unbindFormerWindowTiler(*config);

    // The store decides read-only afresh from the new version and saves with
    // the rotating backup, unless the new version is newer than this build.
    store.mutate([&config](Config& current) { current = std::move(*config); });
    store.clearUndoHistory();
    if (!store.isReadOnly()) store.applyLaunchAtLogin(store.config().general.launchAtLogin);
    if (store.afterConfigReplaced) store.afterConfigReplaced();
}

} // namespace rondelix
