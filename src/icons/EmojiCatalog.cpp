#include "icons/EmojiCatalog.h"

#include "files/ImportSafety.h"
#include "util/Ascii.h"
#include "util/TextTrimming.h"

#include <algorithm>

namespace rondelix {

namespace {

// The Unicode file is about 600 KB; anything far beyond is not that file.
constexpr std::size_t maxEmojiDataBytes = 8u * 1024 * 1024;

constexpr std::string_view groupPrefix = "# group: ";
constexpr std::string_view componentGroup = "Component";

// "1F600 ; fully-qualified # 😀 E1.0 grinning face": the emoji and its name,
// or nothing for a line of another status or shape.
bool parseEmojiLine(std::string_view line, EmojiEntry& entry) {
    const std::size_t semicolon = line.find(';');
    const std::size_t hash = line.find('#');
    if (semicolon == std::string_view::npos || hash == std::string_view::npos || hash < semicolon)
        return false;
    if (trimmedWhitespace(line.substr(semicolon + 1, hash - semicolon - 1)) != "fully-qualified")
        return false;
    // After the hash: " <emoji> E<version> <name>".
    const std::string_view comment = trimmedWhitespace(line.substr(hash + 1));
    const std::size_t versionStart = comment.find(" E");
    if (versionStart == std::string_view::npos || versionStart == 0) return false;
    const std::size_t nameStart = comment.find(' ', versionStart + 2);
    if (nameStart == std::string_view::npos) return false;
    entry.text = std::string(comment.substr(0, versionStart));
    entry.name = std::string(trimmedWhitespace(comment.substr(nameStart + 1)));
    return !entry.name.empty();
}

} // namespace

std::vector<EmojiGroup> parseEmojiTestData(std::string_view data) {
    std::vector<EmojiGroup> groups;
    bool inComponents = false;
    while (!data.empty()) {
        const std::size_t end = std::min(data.find('\n'), data.size());
        const std::string_view line = data.substr(0, end);
        data.remove_prefix(std::min(end + 1, data.size()));
        if (line.starts_with(groupPrefix)) {
            const std::string_view name = trimmedWhitespace(line.substr(groupPrefix.size()));
            inComponents = name == componentGroup;
            if (!inComponents) groups.push_back({std::string(name), {}});
            continue;
        }
        if (inComponents || groups.empty() || line.starts_with('#')) continue;
        EmojiEntry entry;
        if (parseEmojiLine(line, entry)) groups.back().emoji.push_back(std::move(entry));
    }
    std::erase_if(groups, [](const EmojiGroup& group) { return group.emoji.empty(); });
    return groups;
}

std::filesystem::path emojiTestDataFile() {
    return "/usr/share/unicode/emoji/emoji-test.txt";
}

const std::vector<EmojiGroup>& installedEmoji() {
    static const std::vector<EmojiGroup> groups = [] {
        const auto read = ImportSafety::readData(emojiTestDataFile(), maxEmojiDataBytes);
        return read.ok() ? parseEmojiTestData(read.bytes) : std::vector<EmojiGroup>{};
    }();
    return groups;
}

std::vector<EmojiEntry> searchEmoji(const std::vector<EmojiGroup>& groups, std::string_view query) {
    const std::string needle = asciiLowercased(trimmedWhitespace(query));
    std::vector<EmojiEntry> found;
    for (const EmojiGroup& group : groups)
        for (const EmojiEntry& entry : group.emoji)
            if (needle.empty() || asciiLowercased(entry.name).find(needle) != std::string::npos)
                found.push_back(entry);
    return found;
}

} // namespace rondelix
