#include "platform/linux/PackageManagerUpdater.h"

#include "platform/Log.h"

namespace rondelix::platform::linux_desktop {

PackageManagerUpdater::PackageManagerUpdater(std::string version, Log& log)
    : version_(std::move(version)), log_(log) {}

void PackageManagerUpdater::start(UpdaterDelegate&, std::function<void()> canCheckChanged) {
    log_.write(
        "updates come from the system's package manager; the program's own update check is unavailable.");
    canCheckChanged();
}

void PackageManagerUpdater::checkForUpdates() {
    log_.write("update check skipped — updates come from the system's package manager.");
}

void PackageManagerUpdater::checkForUpdateInformation() {
    log_.write("update check skipped — updates come from the system's package manager.");
}

} // namespace rondelix::platform::linux_desktop
