#pragma once

#include "catalog/SystemAction.h"

#include <filesystem>
#include <optional>
#include <string>

namespace rondelix {

class ConfigStore;

namespace platform {
class Dialogs;
class HomeFolder;
class Images;
class Log;
class Workspace;
} // namespace platform

// What moving wheels and configurations in and out of files needs; all must
// outlive the user of it.
struct ConfigTransferServices {
    ConfigStore& store;
    platform::Dialogs& dialogs;
    platform::Log& log;
    const platform::Workspace& workspace;
    const platform::HomeFolder& home;
    // Tells a carried picture that really is a PNG from anything else.
    const platform::Images& images;
    // For a wheel's review: the system actions that do nothing here.
    SystemActionUnavailable systemActionUnavailable;

    std::filesystem::path iconsFolder() const;

    // The bytes of a file chosen for an import, at most ImportSafety's cap.
    // When it cannot be had the user is told why, and nothing comes back.
    std::optional<std::string> readImportFile(const std::filesystem::path& file) const;

    // Tells the user of a failure in a warning alert with an OK button.
    void showFailure(std::string message, std::string text) const;
};

} // namespace rondelix
