#include "util/TextClipping.h"

#include "util/GraphemeClusters.h"
#include "util/UnicodeProperties.h"
#include "util/Utf8.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace rondelix {
namespace {

std::vector<std::string> clusters(std::string_view text) {
    const std::u32string scalars = utf8::decode(text);
    std::vector<std::string> parts;
    for (std::size_t at = 0; at < scalars.size();) {
        const std::size_t next = nextGraphemeBoundary(scalars, at);
        parts.push_back(utf8::encode(std::u32string_view(scalars).substr(at, next - at)));
        at = next;
    }
    return parts;
}

using Parts = std::vector<std::string>;

TEST(GraphemeClustersTest, KeepsWhatAPersonSeesAsOneCharacterTogether) {
    EXPECT_EQ(clusters("e\u0301x"), (Parts{"e\u0301", "x"}));           // combining mark
    EXPECT_EQ(clusters("\u2764\uFE0F!"), (Parts{"\u2764\uFE0F", "!"})); // variation selector
    EXPECT_EQ(clusters("\U0001F469\u200D\U0001F4BB"), (Parts{"\U0001F469\u200D\U0001F4BB"})); // joined emoji
    EXPECT_EQ(clusters("\U0001F44D\U0001F3FD"), (Parts{"\U0001F44D\U0001F3FD"}));             // skin tone
    EXPECT_EQ(clusters("\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7\U0001F1EE"),
              (Parts{"\U0001F1E9\U0001F1EA", "\U0001F1EB\U0001F1F7", "\U0001F1EE"})); // flags pair up
    EXPECT_EQ(clusters("\u1112\u1161\u11AB\uD55Cx"), (Parts{"\u1112\u1161\u11AB", "\uD55C", "x"})); // Hangul
    EXPECT_EQ(clusters("\r\n\n"), (Parts{"\r\n", "\n"}));
    EXPECT_EQ(clusters("a\u200D\U0001F4BB"), (Parts{"a\u200D", "\U0001F4BB"})); // a joiner needs a pictograph
    EXPECT_EQ(clusters("\u0915\u093F"), (Parts{"\u0915\u093F"}));               // spacing mark
}

TEST(TextClippingTest, CutsByCharactersNotBytes) {
    EXPECT_EQ(clippedForDisplay("abc", 3), "abc");
    EXPECT_EQ(clippedForDisplay("abcd", 3), "abc\u2026");
    EXPECT_EQ(clippedForDisplay("\u00E9\u00E9\u00E9", 3), "\u00E9\u00E9\u00E9");
    EXPECT_EQ(clippedForDisplay("e\u0301e\u0301e\u0301e\u0301", 3), "e\u0301e\u0301e\u0301\u2026");
    EXPECT_EQ(clippedForDisplay("\U0001F1E9\U0001F1EA\U0001F1EB\U0001F1F7", 1), "\U0001F1E9\U0001F1EA\u2026");
    EXPECT_EQ(clippedForDisplay("", 5), "");
}

TEST(TextClippingTest, PutsTextOnOneLineWithoutInvisibleControls) {
    EXPECT_EQ(clippedForDisplay("  a\nb\rc\td\u2028e\u2029f \n", 60), "a b c d e f");
    EXPECT_EQ(clippedForDisplay("\u202Aa\u202B\u202C\u202D\u202Eb\u2066\u2067\u2068\u2069\u200E\u200Fc", 60),
              "abc");
    EXPECT_EQ(clippedForDisplay("x\x1B[31m\x7F\xC2\x80\xC2\x9Fy\u00AD\uFEFF\u061C", 60), "x[31my");
    // Joiners are format characters too: a joined emoji falls apart into its pictographs.
    EXPECT_EQ(clippedForDisplay("\U0001F469\u200D\U0001F4BB", 1), "\U0001F469\u2026");
    EXPECT_EQ(clippedForDisplay("\u00A0\u3000 x \u2003", 60), "x");
    EXPECT_EQ(clippedForDisplay("\u202E \n\u2066", 60), "");
}

// Blank-looking characters, however many, cannot push what follows past the cut.
TEST(TextClippingTest, ShowsEachRunOfBlankLookingCharactersAsOneSpace) {
    for (const std::string blank : {"\u3164", "\uFFA0", "\u2800", "\u115F\u1160", " \t\u00A0"}) {
        std::string padded;
        for (int i = 0; i < 200; ++i)
            padded += blank;
        EXPECT_EQ(clippedForDisplay(padded + "rm -rf ~" + padded + "echo" + padded, 20), "rm -rf ~ echo")
            << blank;
    }
}

TEST(TextClippingTest, ShowsIllFormedBytesAsReplacementCharacters) {
    EXPECT_EQ(clippedForDisplay("a\xFF"
                                "b",
                                60),
              "a\uFFFD"
              "b");
    EXPECT_EQ(clippedForDisplay("\xE2\x82", 60), "\uFFFD");                           // cut short
    EXPECT_EQ(clippedForDisplay("\xED\xA0\x80", 60), "\uFFFD\uFFFD\uFFFD");           // a surrogate
    EXPECT_EQ(clippedForDisplay("\xC0\xAF", 60), "\uFFFD\uFFFD");                     // overlong
    EXPECT_EQ(clippedForDisplay("\xF4\x90\x80\x80", 60), "\uFFFD\uFFFD\uFFFD\uFFFD"); // past U+10FFFF
    EXPECT_EQ(clippedForDisplay("\xF0\x9F\x98", 60), "\uFFFD");
    EXPECT_EQ(clippedForDisplay("\xF0\x9F\x98\x80", 60), "\U0001F600");
}

TEST(UnicodePropertiesTest, UpperCasesBeyondAscii) {
    EXPECT_EQ(unicode::upperCased("a\u00DF\u00E9\u0439\u03C2\u01C6\uFB01z1"),
              "ASS\u00C9\u0419\u03A3\u01C4FIZ1");
    EXPECT_EQ(unicode::upperCased("\u0101\u0102\u0103"), "\u0100\u0102\u0102"); // alternating case pairs
    EXPECT_EQ(unicode::upperCased("\xFF"), "\uFFFD");
}

} // namespace
} // namespace rondelix
