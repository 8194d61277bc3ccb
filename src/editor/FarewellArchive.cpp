#include "editor/FarewellArchive.h"

#include "files/FileAccess.h"
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

// ".config.before-cleanup[-<n>].json.<8 characters>.tmp", as a fresh
// temporary name is made for an archive.
bool isArchiveTemporary(std::string_view name) {
    constexpr std::string_view prefix = ".config.before-cleanup";
    constexpr std::string_view extension = ".json.";
    constexpr std::string_view suffix = ".tmp";
    constexpr std::size_t tagLength = 8;
    if (!name.starts_with(prefix) || !name.ends_with(suffix)) return false;
    std::string_view middle = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    if (middle.size() < extension.size() + tagLength) return false;
    const std::string_view tag = middle.substr(middle.size() - tagLength);
    middle.remove_suffix(tagLength);
    if (!middle.ends_with(extension)) return false;
    middle.remove_suffix(extension.size());
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const bool numbered =
        middle.size() > 1 && middle.front() == '-' && std::all_of(middle.begin() + 1, middle.end(), isDigit);
    return (middle.empty() || numbered) &&
           std::all_of(tag.begin(), tag.end(), [&](char c) { return isDigit(c) || (c >= 'A' && c <= 'F'); });
}

} // namespace

void FarewellArchive::removeStaleTemporaries(const ConfigPaths& paths) {
    std::error_code error;
    std::filesystem::directory_iterator entries(paths.folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        std::error_code ignored;
        if (isArchiveTemporary(entries->path().filename().string()) && entries->is_regular_file(ignored))
            std::filesystem::remove(entries->path(), ignored);
    }
}

} // namespace rondelix
