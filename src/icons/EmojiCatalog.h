#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

struct EmojiEntry {
    std::string text;
    std::string name; // as the Unicode emoji data writes it, e.g. "grinning face"
};

struct EmojiGroup {
    std::string name; // e.g. "Smileys & Emotion"
    std::vector<EmojiEntry> emoji;
};

// The emoji the popup offers, read from the Unicode emoji test data
// (emoji-test.txt): every fully-qualified emoji, in the data's groups and
// order. The skin-tone and hair swatches of its "Component" group are left
// out; they are parts of emoji, not emoji to pick. Lines that do not parse
// are skipped.
std::vector<EmojiGroup> parseEmojiTestData(std::string_view data);

// Where Debian's unicode-data package puts the data.
std::filesystem::path emojiTestDataFile();

// The groups from the data file, read on first use and kept for the run;
// empty when the file is missing or unreadable.
const std::vector<EmojiGroup>& installedEmoji();

// The emoji whose name contains the query trimmed of white space and line
// breaks, ignoring the case of ASCII letters, in group order; every emoji for
// an empty query.
std::vector<EmojiEntry> searchEmoji(const std::vector<EmojiGroup>& groups, std::string_view query);

} // namespace rondelix
