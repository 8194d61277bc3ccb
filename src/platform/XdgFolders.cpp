#include "platform/XdgFolders.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace rondelix::platform {

namespace fs = std::filesystem;

namespace {

// The variable's folder, or `fallback` when it holds none that may be used.
fs::path folderOf(const char* variable, fs::path fallback) {
    const char* value = std::getenv(variable);
    if (value && *value == '/') return value;
    return fallback;
}

// Only a configuration file makes a folder the user's configuration: an
// empty folder left by some tool must not decide where the settings live.
bool holdsConfiguration(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / "config.json", error);
}

} // namespace

fs::path userDataFolder(const fs::path& home) {
    return folderOf("XDG_DATA_HOME", home / ".local/share");
}

fs::path userConfigFolder(const fs::path& home) {
    return folderOf("XDG_CONFIG_HOME", home / ".config");
}

fs::path programConfigFolder(const fs::path& home) {
    const fs::path chosen = userConfigFolder(home) / "rondelix";
    const fs::path usual = home / ".config" / "rondelix";
    if (chosen != usual && !holdsConfiguration(chosen) && holdsConfiguration(usual)) return usual;
    return chosen;
}

std::string shownWithTilde(const fs::path& folder, const fs::path& home) {
    const std::string text = folder.string();
    const std::string prefix = home.string();
    if (prefix.empty() || prefix == "/" || text.rfind(prefix, 0) != 0) return text;
    if (text.size() != prefix.size() && text[prefix.size()] != '/') return text;
    return "~" + text.substr(prefix.size());
}

std::vector<fs::path> applicationFolders(const fs::path& home) {
    std::vector<fs::path> folders{userDataFolder(home) / "applications"};
    const auto add = [&folders](fs::path folder) {
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    };
    const char* shared = std::getenv("XDG_DATA_DIRS");
    std::string_view rest = shared && *shared ? shared : "/usr/local/share:/usr/share";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        // A relative entry would name a different folder from every working folder.
        if (const auto folder = rest.substr(0, colon); folder.starts_with('/'))
            add(fs::path(folder) / "applications");
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
    }
    // Flatpak's exports, for a session whose variables do not name them.
    add(userDataFolder(home) / "flatpak/exports/share/applications");
    add("/var/lib/flatpak/exports/share/applications");
    return folders;
}

} // namespace rondelix::platform
