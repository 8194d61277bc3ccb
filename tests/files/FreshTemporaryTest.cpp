#include "files/FreshTemporary.h"

#include "support/TempHome.h"

#include <fstream>
#include <gtest/gtest.h>
#include <set>

using namespace rondelix;

TEST(FreshTemporary, EachWriteGetsANameOfItsOwnThatLeadsBackToItsFile) {
    const std::filesystem::path target = "/somewhere/config.json";
    std::set<std::string> names;
    for (int i = 0; i < 200; ++i) {
        const std::filesystem::path temp = freshTemporaryFor(target);
        EXPECT_EQ(temp.parent_path(), target.parent_path());
        const std::string name = temp.filename().string();
        EXPECT_EQ(freshTemporaryTarget(name), std::optional<std::string_view>("config.json")) << name;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 200u);

    for (const char* notOne :
         {"config.json", ".config.json.tmp", ".config.json.0123abcd.tmp", ".config.json.0123ABC.tmp",
          ".config.json0123ABCD.tmp", "x.config.json.0123ABCD.tmp"})
        EXPECT_EQ(freshTemporaryTarget(notOne), std::nullopt) << notOne;
}

TEST(FreshTemporary, RemovesOnlyTheChosenFilesTemporaries) {
    const rondelix::testing::TempHome home;
    const std::filesystem::path folder = home.path;
    const std::vector<std::string> kept{"config.json", ".other.json.0123ABCD.tmp", ".config.json.tmp"};
    const std::string stale = freshTemporaryFor(folder / "config.json").filename().string();
    for (const std::string& name : kept)
        std::ofstream(folder / name) << "x";
    std::ofstream(folder / stale) << "x";
    std::filesystem::create_directory(folder / freshTemporaryFor(folder / "config.json").filename());

    removeFreshTemporaries(folder, [](std::string_view name) { return name == "config.json"; });

    EXPECT_FALSE(std::filesystem::exists(folder / stale));
    for (const std::string& name : kept)
        EXPECT_TRUE(std::filesystem::exists(folder / name)) << name;
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++entries;
    EXPECT_EQ(entries, kept.size() + 1) << "a folder of a temporary's name is not a temporary";
}
