#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "platform/linux/DesktopApplication.h"
#include "platform/linux/desktop/AutostartLoginItems.h"
#include "platform/linux/desktop/InotifyFileWatcher.h"
#include "platform/linux/qt/QtMainQueue.h"
#include "platform/sim/SimHomeFolder.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimLoginItems.h"
#include "store/ConfigStore.h"
#include "support/Patience.h"
#include "support/StoreRig.h"
#include "support/TempHome.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/inotify.h>
#include <unistd.h>

using namespace rondelix::platform;
using namespace rondelix::platform::linux_desktop;

namespace {

// Runs the event loop until the check holds; false when it still does not
// after `ms`. A ticker wakes the loop to look again.
template <typename Check>
bool runEventsUntil(Check check, int ms = static_cast<int>(rondelix::testing::patience * 1000)) {
    QTimer ticker;
    ticker.start(20);
    for (QDeadlineTimer deadline(ms); !check() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return check();
}

// Runs what is ready now, notices of changes already made among it.
void runReadyEvents() {
    for (int round = 0; round < 100 && QAbstractEventDispatcher::instance()->processEvents({}); ++round) {
    }
}

std::string lines(const sim::SimLog& log) {
    std::string text;
    for (const std::string& line : log.lines())
        text += "\n" + line;
    return text;
}

} // namespace

TEST(InotifyFileWatcher, ReportsWritesAndReplacementsOfTheWatchedFile) {
    rondelix::testing::desktopApplication();
    const auto folder =
        std::filesystem::temp_directory_path() / ("rondelix-watch-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    sim::SimLog log;
    InotifyFileWatcher watcher(log);
    std::vector<FileWatcher::Change> notices;
    const auto await = [&](void (*change)(const std::filesystem::path&)) {
        notices.clear();
        change(folder);
        runEventsUntil([&] { return !notices.empty(); });
        return notices.empty() ? std::nullopt : std::optional(notices.back());
    };
    EXPECT_FALSE(watcher.arm(folder / "config.json", [&](auto change) { notices.push_back(change); }))
        << lines(log);
    std::ofstream(folder / "config.json") << "{}";
    // Without an inotify instance or watch to be had, the log says which limit the user's programs reached.
    ASSERT_TRUE(watcher.arm(folder / "config.json", [&](auto change) { notices.push_back(change); }))
        << lines(log);

    EXPECT_EQ(await([](const auto& f) { std::ofstream(f / "config.json", std::ios::app) << "\n"; }),
              FileWatcher::Change::modified);
    EXPECT_EQ(await([](const auto& f) {
                  std::ofstream(f / "new.json") << "{}";
                  std::filesystem::rename(f / "new.json", f / "config.json");
              }),
              FileWatcher::Change::replaced);
    std::filesystem::remove_all(folder);
}

// The user's other programs hold every inotify instance the system allows
// when the program starts, and free one a moment later.
TEST(InotifyFileWatcher, AStoreWaitingForAnInstanceAdoptsEditsBeforeWritingThenWatchesOnceItHasOne) {
    rondelix::testing::desktopApplication();
    int instancesAsked = 0;
    // What the machine lacked when the real instance could not be had.
    std::string machineLacked;
    sim::SimLog log;
    InotifyFileWatcher watcher(log, [&] {
        if (++instancesAsked <= 3) {
            errno = EMFILE;
            return -1;
        }
        const int instance = InotifyFileWatcher::newInstance();
        if (instance < 0)
            machineLacked =
                std::string("\nno inotify instance to be had (") + std::strerror(errno) +
                "): the user's programs hold all that sysctl fs.inotify.max_user_instances allows";
        return instance;
    });
    QtMainQueue queue;
    rondelix::testing::TempHome home;
    sim::SimHomeFolder folder(home.path);
    sim::SimLoginItems loginItems;
    const auto paths = rondelix::ConfigPaths::in(folder.configFolder());
    rondelix::testing::writeText(paths.config,
                                 rondelix::writeConfigFile(rondelix::DefaultConfig::factoryConfig()));
    rondelix::ConfigStore store({queue, log, folder, watcher, loginItems});
    // As editors save: a new file renamed over the old one.
    const auto editOutside = [&](double wheelSize) {
        auto config = *rondelix::decodeConfigBytes(rondelix::testing::readText(paths.config));
        config.behavior.wheelSize = wheelSize;
        rondelix::testing::writeText(paths.folder / "edited.json", rondelix::writeConfigFile(config));
        std::filesystem::rename(paths.folder / "edited.json", paths.config);
    };

    EXPECT_FALSE(store.watching());
    editOutside(400);
    store.mutate([](rondelix::Config& c) { c.behavior.opacity = 0.5; });
    const auto written = rondelix::decodeConfigBytes(rondelix::testing::readText(paths.config));
    ASSERT_TRUE(written);
    EXPECT_EQ(written->behavior.wheelSize, 400.0);
    EXPECT_EQ(written->behavior.opacity, 0.5);

    ASSERT_TRUE(runEventsUntil([&] { return store.watching(); }, 30000))
        << instancesAsked << machineLacked << lines(log);
    EXPECT_EQ(instancesAsked, 4) << machineLacked;
    editOutside(300);
    EXPECT_TRUE(runEventsUntil([&] { return store.config().behavior.wheelSize == 300.0; }, 30000));
    EXPECT_EQ(std::ranges::count_if(log.lines(),
                                    [](const std::string& line) {
                                        return line.find("fs.inotify.max_user_instances") !=
                                               std::string::npos;
                                    }),
              1)
        << lines(log);
}

// Every other save links the backup to the file it replaces (the file the
// program wrote, at 0600), moving the watched file off the name, and the
// re-arm that notice asks for runs before the save's new file takes the name.
// After each such save another program changes config.json, by a rename as
// editors save and by a write in place: the store takes in each, and the
// next local edit keeps it.
TEST(InotifyFileWatcher, AStoreFollowsConfigJsonAcrossEverySaveAndTakesInEachOutsideEdit) {
    rondelix::testing::desktopApplication();
    sim::SimLog log;
    InotifyFileWatcher watcher(log);
    QtMainQueue queue;
    rondelix::testing::TempHome home;
    sim::SimHomeFolder folder(home.path);
    sim::SimLoginItems loginItems;
    const auto paths = rondelix::ConfigPaths::in(folder.configFolder());
    rondelix::testing::writeText(paths.config,
                                 rondelix::writeConfigFile(rondelix::DefaultConfig::factoryConfig()));
    std::filesystem::permissions(paths.config,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    rondelix::ConfigStore store({queue, log, folder, watcher, loginItems, nullptr, std::nullopt,
                                 rondelix::maxConfigFileBytes, [](rondelix::ConfigSaver::Step step) {
                                     // Everything the rotation made ready runs, the re-arm among it.
                                     if (step == rondelix::ConfigSaver::Step::rotated) runReadyEvents();
                                 }});
    const auto editHere = [&](const std::string& name) {
        store.editWheel(store.config().wheels[0].id, std::nullopt,
                        [&](rondelix::Wheel& w) { w.name = name; });
    };
    const auto onDisk = [&] {
        return *rondelix::decodeConfigBytes(rondelix::testing::readText(paths.config));
    };
    for (int round = 0; round < 5; ++round) {
        for (const bool inPlace : {false, true}) {
            const std::string here = "Here " + std::to_string(round) + (inPlace ? "b" : "a");
            const std::string there = "There " + std::to_string(round) + (inPlace ? "b" : "a");
            SCOPED_TRACE(there);
            editHere(here + " first");
            editHere(here);
            // The reload the saves' own notices asked for has read them: the edit comes later.
            runReadyEvents();
            ASSERT_TRUE(runEventsUntil([&] { return !store.reloadPending(); }));
            auto config = onDisk();
            config.wheels[1].name = there;
            if (inPlace) {
                std::ofstream(paths.config, std::ios::trunc) << rondelix::writeConfigFile(config);
            } else {
                rondelix::testing::writeText(paths.folder / "edited.json", rondelix::writeConfigFile(config));
                std::filesystem::permissions(paths.folder / "edited.json",
                                             std::filesystem::perms::group_read |
                                                 std::filesystem::perms::others_read,
                                             std::filesystem::perm_options::remove);
                std::filesystem::rename(paths.folder / "edited.json", paths.config);
            }
            ASSERT_TRUE(runEventsUntil([&] { return store.config().wheels[1].name == there; }, 10000))
                << lines(log);
            editHere(here + " after");
            EXPECT_EQ(onDisk().wheels[1].name, there);
            EXPECT_EQ(onDisk().wheels[0].name, here + " after");
        }
    }
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
