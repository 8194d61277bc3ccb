#include "BlockingMainQueue.h"
#include "gallery/WheelGallery.h"
#include "platform/linux/desktop/ApplicationEquivalents.h"
#include "platform/linux/desktop/XdgWorkspace.h"
#include "platform/linux/process/PosixProcesses.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {
namespace {

namespace fs = std::filesystem;

// The gallery's installed check against real desktop entries, damaged and
// plentiful ones included.
class GalleryInstalledApps : public ::testing::Test {
  protected:
    fs::path root = fs::temp_directory_path() / ("rondelix-gallery-xdg-" + std::to_string(::getpid()));
    fs::path apps = root / "system/applications";
    BlockingMainQueue queue;
    PosixProcesses processes{queue};
    XdgWorkspace workspace{processes};

    void SetUp() override {
        fs::create_directories(apps);
        fs::create_directories(root / "user");
        ::setenv("XDG_DATA_HOME", (root / "user").c_str(), 1);
        ::setenv("XDG_DATA_DIRS", (root / "system").c_str(), 1);
    }
    void TearDown() override { fs::remove_all(root); }

    void write(const std::string& name, const std::string& text) { std::ofstream(apps / name) << text; }
};

TEST_F(GalleryInstalledApps, DamagedAndCrowdedFoldersStillAnswer) {
    write("org.keepassxc.keepassxc.desktop",
          "[Desktop Entry]\nName=KeePassXC\nType=Application\nExec=/bin/true\n");
    write("org.mozilla.firefox.desktop", std::string("\x00\xff[Desktop Entry\nType=", 19));
    write("com.microsoft.teams.desktop", "");
    for (int i = 0; i < 3000; ++i)
        write("org.example.filler-" + std::to_string(i) + ".desktop",
              "[Desktop Entry]\nName=Filler\nType=Application\nExec=/bin/true\n");
    EXPECT_EQ(WheelGallery::installedAppIDs(workspace), (std::set<std::string>{"gallery-keepassxc"}));
}

// Applications installed under their Linux names count for the wheels made
// for them, and a browser stands in for the other desktop's own.
TEST_F(GalleryInstalledApps, LinuxNamesCountThroughTheTableOfEquivalents) {
    const std::string entry = "[Desktop Entry]\nName=App\nType=Application\nExec=/bin/true\n";
    // The code and video editor wheels send VS Code's and OpenShot's keys:
    // other editors, even the desktop's own, take other keys for their slots.
    write("org.gnome.Builder.desktop", entry);
    write("org.kde.kdenlive.desktop", entry);
    EXPECT_TRUE(WheelGallery::installedAppIDs(workspace).empty());
    write("firefox.desktop", entry);
    write("org.keepassxc.KeePassXC.desktop", entry);
    write("code.desktop", entry);
    const auto installed = WheelGallery::installedAppIDs(workspace);
    for (const char* id : {"gallery-firefox", "gallery-keepassxc", "gallery-vscode", "gallery-safari"})
        EXPECT_EQ(installed.count(id), 1u) << id;
    EXPECT_EQ(installed.count("gallery-slack"), 0u);

    // Every application the gallery names has Linux equivalents.
    for (const auto& [galleryId, identifiers] : WheelGallery::appBundleIDs())
        for (const std::string& identifier : identifiers)
            EXPECT_TRUE(findApplicationEquivalent(identifier)) << identifier;
}

} // namespace
} // namespace rondelix::platform::linux_desktop
