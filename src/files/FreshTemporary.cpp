#include "files/FreshTemporary.h"

#include "util/Uuid.h"

#include <algorithm>
#include <string>
#include <system_error>

namespace rondelix {

namespace {

constexpr std::string_view suffix = ".tmp";
constexpr std::size_t tagLength = 8;

} // namespace

std::filesystem::path freshTemporaryFor(const std::filesystem::path& target) {
    return target.parent_path() / ("." + target.filename().string() + "." +
                                   Uuid::generate().text().substr(0, tagLength) + std::string(suffix));
}

std::optional<std::string_view> freshTemporaryTarget(std::string_view name) {
    // The shortest one: a dot, a name of one character, the dot before the tag, the tag and the suffix.
    if (name.size() < 3 + tagLength + suffix.size() || name.front() != '.' || !name.ends_with(suffix))
        return std::nullopt;
    name.remove_suffix(suffix.size());
    const std::string_view tag = name.substr(name.size() - tagLength);
    const bool hexadecimal = std::all_of(
        tag.begin(), tag.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
    name.remove_suffix(tagLength);
    if (!hexadecimal || !name.ends_with('.')) return std::nullopt;
    return name.substr(1, name.size() - 2);
}

void removeFreshTemporaries(const std::filesystem::path& folder,
                            const std::function<bool(std::string_view name)>& isTarget) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::string name = entries->path().filename().string();
        const auto target = freshTemporaryTarget(name);
        std::error_code ignored;
        if (target && isTarget(*target) && entries->is_regular_file(ignored))
            std::filesystem::remove(entries->path(), ignored);
    }
}

} // namespace rondelix
