#include "overlay/AppIconLocator.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;
using rondelix::AppIconName;
using rondelix::locateAppIcon;

namespace {
class AppIconLocatorTest : public testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("rondelix-appicons-" + std::to_string(::getpid()));
        fs::create_directories(root / "a" / "vendor");
        fs::create_directories(root / "b");
        folders = {root / "a", root / "b"};
    }
    void TearDown() override { fs::remove_all(root); }

    void write(const fs::path& file, const std::string& text) { std::ofstream(file) << text; }

    fs::path root;
    std::vector<fs::path> folders;
};
} // namespace

TEST_F(AppIconLocatorTest, FindsTheEntryByIdInTheFirstFolderThatHasIt) {
    write(root / "b/org.example.Calc.desktop", "[Desktop Entry]\nName=Calc\nIcon=accessories-calculator\n");
    write(root / "a/vendor/tool.desktop", "[Desktop Entry]\nIcon = /opt/tool/icon.png \n");
    EXPECT_EQ(locateAppIcon("org.example.Calc", std::nullopt, folders),
              (AppIconName{"accessories-calculator", false}));
    EXPECT_EQ(locateAppIcon("vendor-tool", std::nullopt, folders), (AppIconName{"/opt/tool/icon.png", true}));
    EXPECT_EQ(locateAppIcon("vendor-tool.desktop", std::nullopt, folders),
              (AppIconName{"/opt/tool/icon.png", true}));
}

TEST_F(AppIconLocatorTest, OnlyTheMainGroupsIconCounts) {
    write(root / "a/x.desktop", "[Desktop Action new]\nIcon=wrong\n[Desktop Entry]\nIconic=no\nIcon=right\n");
    write(root / "a/y.desktop", "[Desktop Entry]\nName=Y\n[Desktop Action z]\nIcon=wrong\n");
    EXPECT_EQ(locateAppIcon("x", std::nullopt, folders), (AppIconName{"right", false}));
    // An entry without an icon shows the desktop's generic program icon.
    EXPECT_EQ(locateAppIcon("y", std::nullopt, folders), (AppIconName{rondelix::genericAppIconName, false}));
}

TEST_F(AppIconLocatorTest, FallsBackToThePathAndGivesNothingWithNeither) {
    write(root / "b/own.desktop", "[Desktop Entry]\nIcon=own-icon\n");
    EXPECT_EQ(locateAppIcon("not.installed", (root / "b/own.desktop").string(), folders),
              (AppIconName{"own-icon", false}));
    EXPECT_EQ(locateAppIcon(std::nullopt, "/usr/bin/gimp", folders), (AppIconName{"gimp", false}));
    EXPECT_EQ(locateAppIcon("not.installed", std::nullopt, folders), std::nullopt);
    EXPECT_EQ(locateAppIcon(std::nullopt, std::nullopt, folders), std::nullopt);
    EXPECT_EQ(locateAppIcon("../b/own", std::nullopt, folders), std::nullopt);
    EXPECT_EQ(locateAppIcon("", std::nullopt, folders), std::nullopt);
}
