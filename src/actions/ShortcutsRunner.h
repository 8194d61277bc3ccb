#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

// Named automations: executables in one folder, each named exactly like the
// automation it performs.
struct ShortcutsRunner {
    // The folder beside the configuration, "automations" in the configuration folder.
    static std::filesystem::path standardFolder(const std::filesystem::path& configFolder);

    // The names of the executables in the folder, ordered ignoring letter
    // case, duplicates kept; empty when the folder cannot be read.
    static std::vector<std::string> list(const std::string& folder);

    // Where the automation of that name lives; none for a name that is not a
    // plain file name (empty, "." or "..", or holding a "/"), so a name can
    // never reach outside the folder.
    static std::optional<std::string> executablePath(const std::string& folder, std::string_view name);
};

} // namespace rondelix
