#include "overlay/AppIconLocator.h"

#include <cstdlib>
#include <fstream>
#include <string_view>

namespace rondelix {

namespace fs = std::filesystem;

namespace {

// Desktop entries are small; anything larger is not one.
constexpr std::uintmax_t maxEntryBytes = 1 << 20;

bool isRegularFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<fs::path> findDesktopEntry(const std::string& desktopId, const std::vector<fs::path>& folders) {
    if (desktopId.empty() || desktopId.find('/') != std::string::npos || desktopId.front() == '.')
        return std::nullopt;
    const std::string file = desktopId.ends_with(".desktop") ? desktopId : desktopId + ".desktop";
    // An id "vendor-app.desktop" may also live as vendor/app.desktop.
    std::string nested = file;
    for (char& c : nested)
        if (c == '-') c = '/';
    for (const auto& folder : folders) {
        if (isRegularFile(folder / file)) return folder / file;
        if (nested != file && isRegularFile(folder / nested)) return folder / nested;
    }
    return std::nullopt;
}

std::optional<AppIconName> desktopEntryIcon(const fs::path& entry) {
    std::error_code error;
    if (!fs::is_regular_file(entry, error) || fs::file_size(entry, error) > maxEntryBytes || error)
        return std::nullopt;
    std::ifstream in(entry);
    std::string line;
    bool inMainGroup = false;
    while (std::getline(in, line)) {
        const std::string_view text = trim(line);
        if (text.starts_with('[')) {
            inMainGroup = text == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup || !text.starts_with("Icon")) continue;
        std::string_view rest = trim(text.substr(4));
        if (!rest.starts_with('=')) continue;
        const std::string_view value = trim(rest.substr(1));
        if (value.empty()) return std::nullopt;
        const bool isFile = value.front() == '/';
        return AppIconName{std::string(value), isFile};
    }
    return std::nullopt;
}

std::optional<AppIconName> locateAppIcon(const std::optional<std::string>& desktopId,
                                         const std::optional<std::string>& path,
                                         const std::vector<fs::path>& folders) {
    std::optional<fs::path> location;
    if (desktopId) location = findDesktopEntry(*desktopId, folders);
    if (!location && path && !path->empty()) location = fs::path(*path);
    if (!location) return std::nullopt;

    if (location->extension() == ".desktop") {
        if (auto icon = desktopEntryIcon(*location)) return icon;
        return AppIconName{genericAppIconName, false};
    }
    // An executable is commonly themed under its own file name.
    const std::string name = location->filename().string();
    if (name.empty()) return AppIconName{genericAppIconName, false};
    return AppIconName{name, false};
}

} // namespace rondelix
