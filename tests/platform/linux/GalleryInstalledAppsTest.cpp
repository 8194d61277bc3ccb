#include "BlockingMainQueue.h"
#include "gallery/WheelGallery.h"
#include "platform/linux/PosixProcesses.h"
#include "platform/linux/XdgWorkspace.h"

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

} // namespace
} // namespace rondelix::platform::linux_desktop
