#include "platform/linux/DesktopApplication.h"
#include "platform/linux/desktop/AutostartLoginItems.h"
#include "platform/linux/desktop/InotifyFileWatcher.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

using namespace rondelix::platform;
using namespace rondelix::platform::linux_desktop;

TEST(InotifyFileWatcher, ReportsWritesAndReplacementsOfTheWatchedFile) {
    rondelix::testing::desktopApplication();
    const auto folder =
        std::filesystem::temp_directory_path() / ("rondelix-watch-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    InotifyFileWatcher watcher;
    std::vector<FileWatcher::Change> notices;
    const auto await = [&](void (*change)(const std::filesystem::path&)) {
        notices.clear();
        change(folder);
        QTimer ticker;
        ticker.start(20);
        for (QDeadlineTimer deadline(2000); notices.empty() && !deadline.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        return notices.empty() ? std::nullopt : std::optional(notices.back());
    };
    EXPECT_FALSE(watcher.arm(folder / "config.json", [&](auto change) { notices.push_back(change); }));
    std::ofstream(folder / "config.json") << "{}";
    ASSERT_TRUE(watcher.arm(folder / "config.json", [&](auto change) { notices.push_back(change); }));

    EXPECT_EQ(await([](const auto& f) { std::ofstream(f / "config.json", std::ios::app) << "\n"; }),
              FileWatcher::Change::modified);
    EXPECT_EQ(await([](const auto& f) {
                  std::ofstream(f / "new.json") << "{}";
                  std::filesystem::rename(f / "new.json", f / "config.json");
              }),
              FileWatcher::Change::replaced);
    std::filesystem::remove_all(folder);
}

TEST(AutostartLoginItems, RegistersThroughAnAutostartEntry) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("rondelix-autostart-" + std::to_string(getpid()));
    AutostartLoginItems items(folder, "/opt/Rondelix 100%/rondelix");
    EXPECT_TRUE(items.setRegistered(true).ok());
    EXPECT_EQ(items.status(), LoginItems::Status::enabled);
    std::stringstream entry;
    entry << std::ifstream(items.entryPath()).rdbuf();
    EXPECT_NE(entry.str().find("\nExec=\"/opt/Rondelix 100%%/rondelix\"\n"), std::string::npos);
    EXPECT_NE(entry.str().find("\nIcon=com.tovarel.Rondelix\n"), std::string::npos);
    EXPECT_EQ(std::system(("desktop-file-validate '" + items.entryPath().string() + "'").c_str()), 0);
    std::ofstream(items.entryPath(), std::ios::app) << "Hidden=true\n";
    EXPECT_EQ(items.status(), LoginItems::Status::notRegistered);
    EXPECT_TRUE(items.setRegistered(false).ok());
    EXPECT_FALSE(std::filesystem::exists(items.entryPath()));

    // An entry that cannot be written says which file it is, for the switch to show.
    std::filesystem::create_directories(items.entryPath() / "in-the-way");
    const auto blocked = items.setRegistered(true);
    EXPECT_FALSE(blocked.ok());
    EXPECT_TRUE(blocked.error().starts_with(items.entryPath().string() + ": ")) << blocked.error();
    std::filesystem::remove_all(folder);
}
