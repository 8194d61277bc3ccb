#pragma once

#include <cstdint>
#include <filesystem>

namespace rondelix {

// Where the configuration and the files around it live.
struct ConfigPaths {
    std::filesystem::path folder;     // <home>/.config/rondelix
    std::filesystem::path config;     // config.json
    std::filesystem::path backup;     // config.json.bak
    std::filesystem::path backupTemp; // config.json.bak.tmp, only while rotating

    static ConfigPaths under(const std::filesystem::path& home);

    // The name a damaged file is set aside under: its extension becomes
    // "corrupt-<seconds>.json". A clash number above zero is added as "-<n>"
    // so that an earlier set-aside file is never overwritten.
    static std::filesystem::path setAsideName(const std::filesystem::path& file, std::int64_t unixSeconds,
                                              int clash = 0);
};

} // namespace rondelix
