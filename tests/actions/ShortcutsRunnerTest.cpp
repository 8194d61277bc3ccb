#include "actions/ShortcutsRunner.h"

#include "actions/MacroExecutor.h"
#include "platform/sim/SimHomeFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace rondelix {
namespace {

namespace fs = std::filesystem;

class ShortcutsFolder : public ::testing::Test {
  protected:
    fs::path folder = fs::temp_directory_path() / ("rondelix-shortcuts-" + std::to_string(::getpid()));

    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }

    void add(const std::string& name, bool executable) {
        std::ofstream(folder / name) << "#!/bin/sh\n";
        fs::permissions(folder / name,
                        executable ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
    }
};

TEST_F(ShortcutsFolder, ListsTheExecutablesIgnoringLetterCase) {
    add("toggle focus", true);
    add("Backup", true);
    add("Toggle Bluetooth", true);
    add("notes.txt", false);
    fs::create_directory(folder / "Folder");
    EXPECT_EQ(ShortcutsRunner::list(folder.string()),
              (std::vector<std::string>{"Backup", "Toggle Bluetooth", "toggle focus"}));
}

TEST_F(ShortcutsFolder, AMissingFolderListsNothing) {
    EXPECT_TRUE(ShortcutsRunner::list((folder / "absent").string()).empty());
}

TEST(ShortcutsRunnerPaths, OnlyPlainNamesMakeAPath) {
    EXPECT_EQ(ShortcutsRunner::executablePath("/s", "Toggle Focus"), "/s/Toggle Focus");
    EXPECT_EQ(ShortcutsRunner::executablePath("/s", "..hidden"), "/s/..hidden");
    for (const std::string& name :
         std::vector<std::string>{"", ".", "..", "a/b", "../x", std::string("a\0b", 3)})
        EXPECT_FALSE(ShortcutsRunner::executablePath("/s", name)) << name;
}

TEST(ShortcutsRunnerPaths, TheExecutorsFoldersFollowTheHomeFolderItIsGiven) {
    const platform::sim::SimHomeFolder home("/tmp/elsewhere");
    const auto locations = MacroExecutor::Locations::standard(home);
    EXPECT_EQ(locations.shortcutsFolder, "/tmp/elsewhere/.config/rondelix/automations");
    EXPECT_EQ(locations.homeFolder, "/tmp/elsewhere");
}

} // namespace
} // namespace rondelix
