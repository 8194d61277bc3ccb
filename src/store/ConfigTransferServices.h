#pragma once

#include "catalog/SystemAction.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace rondelix {

class ConfigStore;

namespace platform {
class Dialogs;
class HomeFolder;
class Images;
class Log;
class WaitedPictureWork;
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
    // Where carried pictures are drawn while the user waits, with a Cancel;
    // without it they are drawn with `images` before the restore returns.
    platform::WaitedPictureWork* pictureWork = nullptr;

    std::filesystem::path iconsFolder() const;

    // Writes the carried pictures (file name to Base64 PNG) into the icons
    // folder, saying `waiting` to the user meanwhile. A Cancel or a quit
    // keeps those written so far.
    void restorePictures(const std::string& waiting, const std::map<std::string, std::string>& icons) const;

    // The bytes of a file chosen for an import, at most ImportSafety's cap.
    // When it cannot be had the user is told why, and nothing comes back.
    std::optional<std::string> readImportFile(const std::filesystem::path& file) const;

    // Tells the user of a failure in a warning alert with an OK button.
    void showFailure(std::string message, std::string text) const;
};

} // namespace rondelix
