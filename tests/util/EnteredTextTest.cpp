#include "util/EnteredText.h"

#include <gtest/gtest.h>
#include <string>

namespace rondelix {
namespace {

TEST(EnteredText, DropsControlCharactersAndKeepsLineBreaksOnlyWhereAsked) {
    struct Row {
        std::string pasted;
        std::string label;
        std::string name;
    };
    const Row rows[] = {
        {"Say\x01 Hi\x07", "Say Hi", "Say Hi"},
        {"Tab\tbed", "Tabbed", "Tabbed"},
        {"Two\nlines", "Two\nlines", "Twolines"},
        {"Windows\r\nlines\rand old", "Windows\nlines\nand old", "Windowslinesand old"},
        {"del\x7F and \xC2\x85next line \xC2\x9F", "del and next line ", "del and next line "},
        {"caf\xC3\xA9 \xC2\xA0nbsp", "caf\xC3\xA9 \xC2\xA0nbsp", "caf\xC3\xA9 \xC2\xA0nbsp"},
        {"\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x92\xBB joined",
         "\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x92\xBB joined",
         "\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x92\xBB joined"},
        {"line\xE2\x80\xA8sep\xE2\x80\xA9para\xE2\x80\xA6", "line\nsep\npara\xE2\x80\xA6",
         "lineseppara\xE2\x80\xA6"},
        {"bad \xC2 byte\xFF", "bad \xC2 byte\xFF", "bad \xC2 byte\xFF"},
        {std::string("nul\0in", 6), "nulin", "nulin"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(enteredText(row.pasted, true), row.label) << row.pasted;
        EXPECT_EQ(enteredText(row.pasted, false), row.name) << row.pasted;
    }
}

} // namespace
} // namespace rondelix
