#pragma once

#include "model/Config.h"
#include "util/Result.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// The copy on disk of the user's wheels while the demo's wheels stand in for
// them: one compact JSON array of wheels in the configuration file's form.
namespace rondelix::DemoBackup {

// demo-wheels-backup.json in the configuration folder
std::filesystem::path fileIn(const std::filesystem::path& configFolder);

// Atomically.
Result<> write(const std::filesystem::path& file, const std::vector<Wheel>& wheels);

struct Read {
    enum class Outcome { missing, wheels, damaged };
    Outcome outcome = Outcome::missing;
    std::vector<Wheel> wheels;
    // Why a damaged file could not be used.
    std::string reason;
};

// Takes only a whole list of well-formed wheels; anything else (too large,
// not JSON, other types, a wheel that does not decode) is damaged.
Read read(const std::filesystem::path& file);

} // namespace rondelix::DemoBackup
