#pragma once

#include "files/UserHome.h"

#include <filesystem>
#include <string>
#include <vector>

// The desktop's per-user and shared folders. A variable that is unset, empty
// or not an absolute path counts as missing, and its usual place in the home
// folder stands in.
namespace rondelix::platform {

// $XDG_DATA_HOME, else .local/share in the home folder.
std::filesystem::path userDataFolder(const std::filesystem::path& home = userHomeFolder());

// $XDG_CONFIG_HOME, else .config in the home folder.
std::filesystem::path userConfigFolder(const std::filesystem::path& home = userHomeFolder());

// The program's own configuration folder: "rondelix" in the user's config
// folder. A configuration kept in ~/.config/rondelix before $XDG_CONFIG_HOME
// pointed elsewhere is still the one used while the new place holds none, so
// setting the variable never loses it; a folder without a configuration file
// in it counts as none.
std::filesystem::path programConfigFolder(const std::filesystem::path& home = userHomeFolder());

// The folder as a person reads it: the home folder as "~".
std::string shownWithTilde(const std::filesystem::path& folder,
                           const std::filesystem::path& home = userHomeFolder());

// Where desktop entries live, most important first: the user's data folder,
// then each absolute folder of $XDG_DATA_DIRS (/usr/local/share and
// /usr/share when it is unset), each with "applications" appended, then
// Flatpak's exports of the user and of the system when not listed already.
std::vector<std::filesystem::path> applicationFolders(const std::filesystem::path& home = userHomeFolder());

} // namespace rondelix::platform
