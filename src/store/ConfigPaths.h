#pragma once

#include <filesystem>

namespace rondelix {

// Where the configuration and the files around it live.
struct ConfigPaths {
    std::filesystem::path folder;      // <home>/.config/rondelix
    std::filesystem::path config;      // config.json
    std::filesystem::path backup;      // config.json.bak
    std::filesystem::path backupTemp;  // config.json.bak.tmp, only while rotating
    std::filesystem::path defaults;    // defaults.json, the user defaults
    std::filesystem::path automations; // shortcuts/, one executable per named automation

    static ConfigPaths under(const std::filesystem::path& home);
};

} // namespace rondelix
