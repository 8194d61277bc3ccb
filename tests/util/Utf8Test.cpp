#include "util/Utf8.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

TEST(Utf8Repair, ReplacesEachIllFormedSubpartOnceAndKeepsWellFormedText) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"plain", "plain"},
        {"\uFFFD stays as written \U0001F600", "\uFFFD stays as written \U0001F600"},
        {"\xFF", "\uFFFD"},
        {"a\xE2\x82", "a\uFFFD"}, // cut short at the end
        {"\xE2\x82"
         "b",
         "\uFFFD"
         "b"},                                            // cut short before an ASCII byte
        {"\xC0\xAF", "\uFFFD\uFFFD"},                     // overlong form
        {"\xED\xA0\x80", "\uFFFD\uFFFD\uFFFD"},           // surrogate
        {"\xF4\x90\x80\x80", "\uFFFD\uFFFD\uFFFD\uFFFD"}, // past U+10FFFF
    };
    for (const auto& c : cases) {
        std::string text = c.in;
        EXPECT_EQ(utf8::repair(text), c.in != c.out) << c.in;
        EXPECT_EQ(text, c.out);
        EXPECT_FALSE(utf8::repair(text)) << "repairing twice changes nothing";
    }
}

} // namespace
} // namespace rondelix
