#include "editor/FarewellArchive.h"

#include "files/FileAccess.h"
#include "files/FreshTemporary.h"
#include "model/ConfigCoding.h"

#include <algorithm>
#include <string_view>

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

namespace {

// "config.before-cleanup[-<n>].json", as fileName makes it.
bool isArchiveName(std::string_view name) {
    constexpr std::string_view prefix = "config.before-cleanup";
    constexpr std::string_view extension = ".json";
    if (!name.starts_with(prefix) || !name.ends_with(extension)) return false;
    const std::string_view number =
        name.substr(prefix.size(), name.size() - prefix.size() - extension.size());
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    return number.empty() || (number.size() > 1 && number.front() == '-' &&
                              std::all_of(number.begin() + 1, number.end(), isDigit));
}

} // namespace

void FarewellArchive::removeStaleTemporaries(const ConfigPaths& paths) {
    removeFreshTemporaries(paths.folder, isArchiveName);
}

} // namespace rondelix
