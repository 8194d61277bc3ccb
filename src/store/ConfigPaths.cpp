#include "store/ConfigPaths.h"

namespace rondelix {

ConfigPaths ConfigPaths::in(const std::filesystem::path& folder) {
    ConfigPaths paths;
    paths.folder = folder;
    paths.config = paths.folder / "config.json";
    paths.backup = paths.folder / "config.json.bak";
    paths.backupTemp = paths.folder / "config.json.bak.tmp";
    paths.defaults = paths.folder / "defaults.json";
    paths.automations = paths.folder / "shortcuts";
    return paths;
}

} // namespace rondelix
