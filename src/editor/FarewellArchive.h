#pragma once

#include "model/Config.h"
#include "store/ConfigPaths.h"
#include "util/Result.h"

#include <filesystem>

namespace rondelix {

// Before the 255-wheel clean-up removes wheels for good, the configuration as
// it was goes to a file of its own beside the configuration, which nothing
// ever overwrites or rotates away: "config.before-cleanup.json", numbered
// "-2", "-3" ... past any earlier one.
struct FarewellArchive {
    static std::filesystem::path fileName(const ConfigPaths& paths, int number);
    // Where the configuration went.
    static Result<std::filesystem::path> write(const ConfigPaths& paths, const Config& config);
    // Removes the hidden temporary files of writes a kill cut short. Only at
    // the start of the one running program: no write of its own is under way.
    static void removeStaleTemporaries(const ConfigPaths& paths);
};

} // namespace rondelix
