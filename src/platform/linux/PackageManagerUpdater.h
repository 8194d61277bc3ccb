#pragma once

#include "platform/Updater.h"

#include <string>

namespace rondelix::platform {
class Log;
}

namespace rondelix::platform::linux_desktop {

// On the Linux desktop the program is updated by the system's package
// manager, so its own check never becomes available.
class PackageManagerUpdater final : public Updater {
  public:
    static constexpr const char* reason = "Updates come from your system's package manager.";

    PackageManagerUpdater(std::string version, Log& log);

    void start(UpdaterDelegate& delegate, std::function<void()> canCheckChanged) override;
    bool canCheckForUpdates() const override { return false; }
    void checkForUpdates() override;
    void checkForUpdateInformation() override;
    std::optional<std::string> currentVersion() const override { return version_; }
    std::optional<std::string> unavailableReason() const override { return reason; }

  private:
    std::string version_;
    Log& log_;
};

} // namespace rondelix::platform::linux_desktop
