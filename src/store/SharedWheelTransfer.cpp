#include "store/SharedWheelTransfer.h"

#include "files/FileAccess.h"
#include "platform/Dialogs.h"
#include "platform/Log.h"
#include "store/ConfigStore.h"
#include "store/FormerFactoryLabels.h"
#include "store/ImportReview.h"
#include "store/SharedWheel.h"
#include "util/TextTrimming.h"
#include "util/Uuid.h"

#include <algorithm>

namespace rondelix {

namespace {

std::string suggestedFileName(const Wheel& wheel) {
    const std::string_view name = trimmedWhitespace(wheel.name);
    return name.empty() ? "Wheel" : std::string(name);
}

bool hasWheel(const std::vector<Wheel>& wheels, const std::string& id) {
    return std::any_of(wheels.begin(), wheels.end(), [&](const Wheel& wheel) { return wheel.id == id; });
}

std::string freshWheelId(const std::vector<Wheel>& wheels) {
    std::string id;
    do {
        id = "wheel-" + Uuid::generate().text();
    } while (hasWheel(wheels, id));
    return id;
}

} // namespace

void SharedWheelTransfer::exportWheel(const std::string& id) {
    const auto wheel = services_.store.wheel(id);
    if (!wheel) return;
    const auto location =
        services_.dialogs.chooseSaveLocation({suggestedFileName(*wheel), {SharedWheel::fileExtension}});
    if (!location) return;

    SharedWheel shared;
    shared.wheel = *wheel;
    embedIcons(shared.wheel, services_.iconsFolder(), shared.icons);
    if (const auto written =
            writeFileAtomically(*location, shared.fileBytes(), TemporaryName::fresh, NewFileMode::userUmask);
        !written.ok()) {
        services_.log.write("share wheel failed: " + written.error());
        services_.showFailure("Share Failed", "The wheel could not be written: " + written.error());
    }
}

std::optional<std::string> SharedWheelTransfer::importWheel() {
    ConfigStore& store = services_.store;
    if (store.isReadOnly()) {
        const SaveRefusal refusal = *store.saveRefusal();
        services_.showFailure("Import Unavailable",
                              refusal.cause == SaveRefusal::Cause::newerVersion
                                  ? "Rondelix is read-only because the on-disk config is "
                                    "from a newer version. Update the app to import wheels."
                                  : refusal.sentence);
        return std::nullopt;
    }
    const auto file = services_.dialogs.chooseFileToOpen({{SharedWheel::fileExtension, "json"}});
    if (!file) return std::nullopt;
    const auto bytes = services_.readImportFile(*file);
    if (!bytes) return std::nullopt;

    // The wheel, its pictures and the version are all required.
    auto shared = SharedWheel::decode(*bytes);
    if (!shared) {
        services_.showFailure("Import Failed", "This is not a Rondelix wheel file, or it is damaged.");
        return std::nullopt;
    }

    if (!ImportReview::confirmWheelImport(services_.dialogs, shared->wheel, services_.workspace,
                                          services_.systemActionUnavailable))
        return std::nullopt;
    services_.restorePictures("Adding the wheel's pictures…", shared->icons);

    Wheel wheel = std::move(shared->wheel);
    renameFormerFactoryLabels(wheel);
    wheel.id = freshWheelId(store.config().wheels);
    wheel.appBundleIdentifier.reset();
    const std::string id = wheel.id;
    store.editWheels(std::nullopt,
                     [&wheel](std::vector<Wheel>& wheels) { wheels.push_back(std::move(wheel)); });
    return id;
}

} // namespace rondelix
