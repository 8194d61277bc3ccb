#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace rondelix {

// Where the desktop keeps an application's icon. A desktop-file id plays the
// application identifier; a path is a desktop entry or an executable.
struct AppIconName {
    // An icon-theme name, or an image file when `isFile`.
    std::string name;
    bool isFile = false;
    friend bool operator==(const AppIconName&, const AppIconName&) = default;
};

// The theme's stand-in for any program, as the desktop shows one.
inline constexpr const char* genericAppIconName = "application-x-executable";

// The desktop entry of a desktop-file id ("org.gnome.Calculator"), or none.
std::optional<std::filesystem::path> findDesktopEntry(const std::string& desktopId,
                                                      const std::vector<std::filesystem::path>& folders);

// The Icon key of a desktop entry's main group, or none.
std::optional<AppIconName> desktopEntryIcon(const std::filesystem::path& entry);

// The icon of an application found by id, else by path; none with neither.
std::optional<AppIconName> locateAppIcon(const std::optional<std::string>& desktopId,
                                         const std::optional<std::string>& path,
                                         const std::vector<std::filesystem::path>& folders);

} // namespace rondelix
