#include "icons/EmojiText.h"

#include "icons/EmojiCatalog.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace rondelix;

namespace {

TEST(EmojiText, KeepsOnlyTheLastCharacter) {
    struct Case {
        std::string text;
        std::optional<std::string> replacement;
    };
    const std::vector<Case> cases{
        {"", std::nullopt},
        {"😀", std::nullopt},
        {"😀😃", "😃"},
        {"abc", "c"},
        {"👍🏽", std::nullopt}, // skin tone stays with its emoji
        {"😀👍🏽", "👍🏽"},
        {"🇫🇷", std::nullopt}, // a flag is two regional indicators
        {"🇩🇪🇫🇷", "🇫🇷"},
        {"👨‍👩‍👧", std::nullopt}, // joined family
        {"a👨‍👩‍👧", "👨‍👩‍👧"},
        {"1️⃣", std::nullopt},   // keycap sequence
        {"xe\xCC\x81", "e\xCC\x81"}, // letter with a combining accent
        {"ok\n", "\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(oneEmojiReplacement(c.text), c.replacement) << c.text;
}

constexpr std::string_view sampleData = R"(# emoji-test.txt
# group: Smileys & Emotion

# subgroup: face-smiling
1F600                                                  ; fully-qualified     # 😀 E1.0 grinning face
263A FE0F                                              ; fully-qualified     # ☺️ E0.6 smiling face
263A                                                   ; unqualified         # ☺ E0.6 smiling face
this line is broken
1F601 ; fully-qualified # no version here
# group: Component
1F3FB                                                  ; fully-qualified     # 🏻 E1.0 light skin tone
# group: Flags
1F1EB 1F1F7                                            ; fully-qualified     # 🇫🇷 E2.0 flag: France
# group: Empty
)";

TEST(EmojiCatalog, ReadsFullyQualifiedEmojiByGroup) {
    const auto groups = parseEmojiTestData(sampleData);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].name, "Smileys & Emotion");
    ASSERT_EQ(groups[0].emoji.size(), 2u);
    EXPECT_EQ(groups[0].emoji[0].text, "😀");
    EXPECT_EQ(groups[0].emoji[0].name, "grinning face");
    EXPECT_EQ(groups[0].emoji[1].text, "☺️");
    EXPECT_EQ(groups[1].name, "Flags");
    EXPECT_EQ(groups[1].emoji[0].name, "flag: France");
}

TEST(EmojiCatalog, SearchesNamesIgnoringCase) {
    const auto groups = parseEmojiTestData(sampleData);
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases{
        {"", {"😀", "☺️", "🇫🇷"}},   {"  FACE \n", {"😀", "☺️"}}, {"france", {"🇫🇷"}}, {"tone", {}},
        {std::string(10000, 'x'), {}},
    };
    for (const auto& [query, expected] : cases) {
        std::vector<std::string> found;
        for (const auto& entry : searchEmoji(groups, query))
            found.push_back(entry.text);
        EXPECT_EQ(found, expected) << query.substr(0, 20);
    }
}

TEST(EmojiCatalog, ReadsTheInstalledData) {
    ASSERT_TRUE(std::filesystem::exists(emojiTestDataFile())) << "install Debian's unicode-data";
    const auto& groups = installedEmoji();
    ASSERT_GE(groups.size(), 9u);
    std::size_t total = 0;
    for (const auto& group : groups)
        total += group.emoji.size();
    EXPECT_GT(total, 3000u);
    EXPECT_EQ(searchEmoji(groups, "thumbs up").front().text, "👍");
}

} // namespace
