#include "editor/FarewellArchive.h"

#include "files/FileAccess.h"
#include "model/ConfigCoding.h"

namespace rondelix {

std::filesystem::path FarewellArchive::fileName(const ConfigPaths& paths, int number) {
    const std::string suffix = number <= 1 ? "" : "-" + std::to_string(number);
    return paths.folder / ("config.before-cleanup" + suffix + ".json");
}

Result<std::filesystem::path> FarewellArchive::write(const ConfigPaths& paths, const Config& config) {
    int number = 1;
    while (!isMissing(fileName(paths, number)))
        ++number;
    const auto file = fileName(paths, number);
    if (auto written = writeFileAtomically(file, writeConfigFile(config), TemporaryName::fresh);
        !written.ok())
        return Failure{written.error()};
    return file;
}

} // namespace rondelix
