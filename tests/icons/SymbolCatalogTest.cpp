#include "icons/SymbolCatalog.h"

#include "icons/SymbolGlyphs.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <thread>

using namespace rondelix;

namespace {

TEST(SymbolCatalog, BuiltInListHasItsShape) {
    const auto names = SymbolCatalog::builtInNames();
    ASSERT_EQ(names.size(), 390u);
    const std::vector<std::string_view> head{"star.fill", "star",      "heart.fill", "heart",     "bolt.fill",
                                             "bolt",      "flag.fill", "flag",       "bell.fill", "bell"};
    const std::vector<std::string_view> tail{"lock.shield.fill", "checkmark.shield.fill",
                                             "shield.fill",      "shield",
                                             "puzzlepiece.fill", "puzzlepiece.extension.fill"};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), names.begin()));
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), names.end() - static_cast<std::ptrdiff_t>(tail.size())));
    std::map<std::string_view, int> seen;
    for (const auto name : names)
        ++seen[name];
    std::vector<std::string_view> repeated;
    for (const auto& [name, count] : seen)
        if (count > 1) repeated.push_back(name);
    EXPECT_EQ(repeated, (std::vector<std::string_view>{"circle", "circle.fill", "square"}));
    for (const auto& [name, count] : seen)
        EXPECT_LE(count, 2) << name;
}

TEST(SymbolCatalog, KeepsEveryBuiltInNameOnceInCodePointOrder) {
    const auto& all = SymbolCatalog::all();
    EXPECT_EQ(all.size(), 387u);
    EXPECT_TRUE(std::adjacent_find(all.begin(), all.end(), std::greater_equal<>()) == all.end())
        << "not strictly ascending";
    EXPECT_EQ(std::count(all.begin(), all.end(), "circle"), 1);
}

TEST(SymbolCatalog, AssemblingDropsUndrawableAndRepeatedNames) {
    const std::vector<std::string_view> names{"bolt.fill", "bolt", "Zed", "9a", "a",
                                              "bolt",      "gone", "é",   "z"};
    const auto kept = SymbolCatalog::assemble(names, [](std::string_view name) { return name != "gone"; });
    EXPECT_EQ(kept, (std::vector<std::string>{"9a", "Zed", "a", "bolt", "bolt.fill", "z", "é"}));
}

TEST(SymbolCatalog, IsBuiltOnceWhenFirstReadFromTwoThreads) {
    const std::vector<std::string>* seen[2] = {};
    std::thread first([&] { seen[0] = &SymbolCatalog::all(); });
    std::thread second([&] { seen[1] = &SymbolCatalog::all(); });
    first.join();
    second.join();
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(seen[0], &SymbolCatalog::all());
}

TEST(SymbolCatalog, FilterTrimsAndLowersTheQueryOnly) {
    const std::vector<std::string> names{"Bolt.Caps", "bolt", "bolt.fill", "cloud.bolt",
                                         "folder",    "key",  "play.fill"};
    const std::string kelvin = "\xE2\x84\xAA"; // KELVIN SIGN, lower-cased to "k"
    struct Case {
        std::string query;
        std::vector<std::string> shown;
    };
    const std::vector<Case> cases{
        {"", names},
        {"   ", names},
        {" \t\n\r ", names},
        {"  Bolt  ", {"bolt", "bolt.fill", "cloud.bolt"}},
        {"BOLT.F", {"bolt.fill"}},
        {"\nplay\n", {"play.fill"}},
        {".", {"Bolt.Caps", "bolt.fill", "cloud.bolt", "play.fill"}},
        {kelvin + "ey", {"key"}},
        {"caps", {}},
        {"bo lt", {}},
        {"bo\nlt", {}},
        {"bolt\x01", {}},
        {std::string("bo\0lt", 5), {}},
        {"\xFF", {}},
        {std::string(10000, 'o'), {}},
        {"  " + std::string(10000, ' ') + "fold\n", {"folder"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SymbolCatalog::filter(names, c.query), c.shown) << c.query.substr(0, 40);
}

// A name written for another system is searched as what it draws, as the
// picker shows it.
TEST(SymbolCatalog, ANameOfAnotherSystemIsFoundByItsDescription) {
    const auto& all = SymbolCatalog::all();
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases{{" Browser", {"safari"}},
                                                                              {"super k", {"command"}},
                                                                              {"alt key", {"option"}},
                                                                              {"safari", {}},
                                                                              {"mac", {}}};
    for (const auto& [query, shown] : cases)
        EXPECT_EQ(SymbolCatalog::filter(all, query), shown) << query;
}

TEST(SymbolCatalog, CountsSymbolsInTheFooter) {
    const std::vector<std::pair<std::size_t, std::string>> cases{
        {0, "0 symbols"}, {1, "1 symbol"}, {2, "2 symbols"}, {387, "387 symbols"}};
    for (const auto& [count, text] : cases)
        EXPECT_EQ(SymbolCatalog::countText(count), text);
}

TEST(SymbolGlyphs, KnowsOnlyExactNames) {
    EXPECT_TRUE(symbolGlyph("bolt.fill"));
    for (const std::string_view name : {"", "Bolt", "bolt.", "bolt.fill ", "zzz.unknown"})
        EXPECT_FALSE(symbolGlyph(name)) << name;
}

} // namespace
