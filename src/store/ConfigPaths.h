#pragma once

#include <filesystem>

namespace rondelix {

// Where the configuration and the files around it live.
struct ConfigPaths {
    std::filesystem::path folder;      // the home folder's configFolder()
    std::filesystem::path config;      // config.json
    std::filesystem::path backup;      // config.json.bak
    std::filesystem::path defaults;    // defaults.json, the user defaults
    std::filesystem::path automations; // automations/, one executable per named automation

    // Moves the automations of a former "shortcuts" folder into automations/
    // on the way.
    static ConfigPaths in(const std::filesystem::path& folder);
};

} // namespace rondelix
