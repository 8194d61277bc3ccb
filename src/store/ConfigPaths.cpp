#include "store/ConfigPaths.h"

#include <string>

namespace rondelix {

ConfigPaths ConfigPaths::under(const std::filesystem::path& home) {
    ConfigPaths paths;
    paths.folder = home / ".config" / "rondelix";
    paths.config = paths.folder / "config.json";
    paths.backup = paths.folder / "config.json.bak";
    paths.backupTemp = paths.folder / "config.json.bak.tmp";
    return paths;
}

std::filesystem::path ConfigPaths::setAsideName(const std::filesystem::path& file, std::int64_t unixSeconds,
                                                int clash) {
    std::string name = file.stem().string() + ".corrupt-" + std::to_string(unixSeconds);
    if (clash > 0) name += "-" + std::to_string(clash);
    name += ".json";
    return file.parent_path() / name;
}

} // namespace rondelix
