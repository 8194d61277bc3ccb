#include "actions/ShortcutsRunner.h"

#include "files/FolderEntries.h"
#include "store/ConfigPaths.h"
#include "util/Ascii.h"

#include <algorithm>
#include <filesystem>

namespace rondelix {

namespace fs = std::filesystem;

fs::path ShortcutsRunner::standardFolder(const fs::path& configFolder) {
    return ConfigPaths::in(configFolder).automations;
}

std::vector<std::string> ShortcutsRunner::list(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error) return names;
    // Iterating without the error code would throw on a folder that
    // vanishes or turns unreadable half-way.
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        std::error_code ignored;
        const auto& entry = *entries;
        if (!entry.is_regular_file(ignored)) continue;
        if (!isExecutableFile(entry.path())) continue;
        names.push_back(entry.path().filename().string());
    }
    std::stable_sort(names.begin(), names.end(), lessIgnoringCase);
    return names;
}

std::optional<std::string> ShortcutsRunner::executablePath(const std::string& folder, std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos ||
        name.find('\0') != std::string_view::npos)
        return std::nullopt;
    return folder + "/" + std::string(name);
}

} // namespace rondelix
