#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "platform/sim/SimBackground.h"
#include "support/PermissionsBind.h"
#include "support/StoreRig.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace rondelix;
using namespace rondelix::testing;
using Lines = std::vector<std::string>;

namespace {

bool decodes(const std::filesystem::path& file) {
    return decodeConfigBytes(readText(file)).has_value();
}

std::string failed(const std::string& what, const std::filesystem::path& file, const std::string& why) {
    return what == "load" ? "Rondelix: config load failed (" + file.string() + ": " + why +
                                ") — trying the backup, else defaults."
                          : "Rondelix: config save failed: " + file.string() + ": " + why;
}

const std::string factoryFile = writeConfigFile(DefaultConfig::factoryConfig());

} // namespace

TEST(ConfigStoreBadInput, PrimaryThatIsADirectoryOrAFifoIsSetAsideWhole) {
    enum class Kind { directory, fifo };
    const struct {
        Kind kind;
        const char* why;
    } cases[] = {{Kind::directory, "Is a directory"}, {Kind::fifo, "not a regular file"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        StoreRig rig;
        std::filesystem::create_directories(rig.paths.folder);
        if (c.kind == Kind::directory) writeText(rig.paths.config / "inside.txt", "keep me");
        if (c.kind == Kind::fifo) {
            ASSERT_EQ(mkfifo(rig.paths.config.c_str(), 0600), 0);
        }
        setWheelSize(*rig.open(), 300);
        EXPECT_EQ(rig.log.lines(), Lines{failed("load", rig.paths.config, c.why)});
        EXPECT_TRUE(decodes(rig.paths.config));
        const auto setAside = rig.paths.folder / rig.listing().front();
        ASSERT_TRUE(setAside.filename().string().starts_with("config.corrupt-"));
        EXPECT_TRUE(c.kind == Kind::directory ? readText(setAside / "inside.txt") == "keep me"
                                              : std::filesystem::is_fifo(setAside));
    }
}

TEST(ConfigStoreBadInput, LinkedConfigurationIsWrittenWhereTheLinkPoints) {
    StoreRig rig;
    TempHome elsewhere;
    const auto target = elsewhere.path / "rondelix.json";
    writeText(target, factoryFile);
    std::filesystem::create_directories(rig.paths.folder);
    std::filesystem::create_symlink(target, rig.paths.config);
    setWheelSize(*rig.open(), 300);
    EXPECT_TRUE(std::filesystem::is_symlink(rig.paths.config));
    EXPECT_EQ(decodeConfigBytes(readText(target))->behavior.wheelSize, 300.0);
    EXPECT_TRUE(readText(rig.paths.backup) == factoryFile);

    // A link into a folder that is gone: the save says why and nothing breaks.
    std::filesystem::remove_all(elsewhere.path);
    rig.open();
    EXPECT_EQ(rig.log.lines(), Lines{failed("save", target, "No such file or directory")});
    EXPECT_TRUE(std::filesystem::is_symlink(rig.paths.config));
}

TEST(ConfigStoreFiles, TheFolderAndEveryFileTheSaveWritesKeepToTheUser) {
    const mode_t umaskBefore = ::umask(022);
    const auto modeOf = [](const std::filesystem::path& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 0777;
    };
    StoreRig rig;
    setWheelSize(*rig.open(), 300);
    EXPECT_EQ(modeOf(rig.paths.folder), 0700u);
    EXPECT_EQ(modeOf(rig.paths.config), 0600u);
    EXPECT_EQ(modeOf(rig.paths.backup), 0600u);

    // Files an older version made open to all: the user closes the primary,
    // and the backup the next save writes with its content is closed too.
    ::chmod(rig.paths.backup.c_str(), 0644);
    ::chmod(rig.paths.config.c_str(), 0600);
    setWheelSize(*rig.open(), 320);
    EXPECT_EQ(modeOf(rig.paths.backup), 0600u);
    ::umask(umaskBefore);
}

// The backup takes the store's last file over without copying it, yet after
// the save it is a file of its own: an editor writing the primary in place
// leaves it as it was.
TEST(ConfigStoreFiles, TheBackupOutlivesAnEditInPlaceOfThePrimary) {
    StoreRig rig;
    auto store = rig.open();
    const std::string first = readText(rig.paths.config);
    setWheelSize(*store, 300);
    ASSERT_TRUE(readText(rig.paths.backup) == first);
    std::ofstream(rig.paths.config, std::ios::trunc) << "{\"wheels\": [";
    EXPECT_TRUE(readText(rig.paths.backup) == first);
}

TEST(ConfigStoreBadInput, UnreadableFolderOrARefusedWriteLosesNothing) {
    StoreRig rig;
    writeText(rig.paths.config, factoryFile);
    writeText(rig.paths.backup, "older");
    std::filesystem::permissions(rig.paths.folder, std::filesystem::perms::none);
    EXPECT_TRUE(passesWhilePermissionsBind([&] {
        setWheelSize(*rig.open(), 300);
        EXPECT_EQ(rig.log.lines(),
                  (Lines{"Rondelix: configuration folder " + rig.paths.folder.string() +
                             " is not writable (Permission denied) — running read-only.",
                         failed("load", rig.paths.config, "Permission denied"),
                         "Rondelix: not saving — the configuration folder is not writable (read-only)."}));
    }));
    std::filesystem::permissions(rig.paths.folder, std::filesystem::perms::owner_all);
    EXPECT_TRUE(passesWhilePermissionsBind([&] {
        // Writes past 512 bytes fail part-way, as on a full disk.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{512, 512};
        setrlimit(RLIMIT_FSIZE, &limit);
        setWheelSize(*rig.open(), 300);
        EXPECT_EQ(rig.log.lines(), Lines{failed("save", rig.paths.config, "File too large")});
    }));
    EXPECT_EQ(rig.listing(), (Lines{"config.json", "config.json.bak"}));
    EXPECT_TRUE(readText(rig.paths.config) == factoryFile);
    EXPECT_EQ(readText(rig.paths.backup), "older");
}

// A process saving in a loop, killed at random moments: whatever moment the
// kill hits, the primary (and so at least one of primary and backup) decodes.
TEST(ConfigStoreCrash, KillsMidSaveNeverLoseBothFiles) {
    StoreRig rig;
    rig.open();
    std::mt19937 random(20240611);
    for (int round = 0; round < 200; ++round) {
        int saves[2];
        ASSERT_EQ(pipe(saves), 0) << "no pipe: " << std::strerror(errno);
        const pid_t child = fork();
        ASSERT_GE(child, 0) << "no process to save from: " << std::strerror(errno);
        if (child == 0) {
            for (auto [store, done] = std::pair(rig.open(), char(0));; ++done) {
                setWheelSize(*store, 240 + done % 200);
                if (write(saves[1], &done, 1) != 1) _exit(1);
            }
        } else {
            close(saves[1]);
            char done = 0;
            for (auto wait = random() % 3; wait > 0 && read(saves[0], &done, 1) == 1; --wait) {
            }
            volatile unsigned spin = 0;
            for (unsigned k = random() % 200000; k > 0; --k)
                spin = spin + k;
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            close(saves[0]);
        }
        ASSERT_TRUE(decodes(rig.paths.config) || decodes(rig.paths.backup)) << "both lost in round " << round;
        // Saves replace the primary in one step, so it is never caught torn.
        ASSERT_TRUE(decodes(rig.paths.config)) << "torn primary in round " << round;
    }
}

// Saves written off the window's thread: only the newest state is written,
// the file as the caller left it until then, a notice of an older save never
// taken for a change, and what waits written once before the store goes.
TEST(ConfigStoreFiles, SavesOffTheCallerWriteOnlyTheNewestStateAndItOnceAtTheEnd) {
    StoreRig rig;
    writeText(rig.paths.config, factoryFile);
    platform::sim::SimBackground saves;
    auto store = rig.open(&saves);
    for (const double size : {250.0, 260.0, 270.0})
        setWheelSize(*store, size);
    EXPECT_EQ(readText(rig.paths.config), factoryFile);
    // The file holds none of them yet: a notice now must not undo them.
    rig.watcher.fire(platform::FileWatcher::Change::modified);
    rig.queue.advance(1);
    EXPECT_EQ(store->config().behavior.wheelSize, 270.0);

    saves.runAll();
    rig.queue.advance(1);
    EXPECT_EQ(rig.onDisk()->behavior.wheelSize, 270.0);
    // One write: the backup holds the file as it was before it.
    EXPECT_TRUE(readText(rig.paths.backup) == factoryFile);
    EXPECT_EQ(store->config().behavior.wheelSize, 270.0);

    // Edits of one wheel share the others with the save before.
    const std::string first = store->config().wheels.front().id, last = store->config().wheels.back().id;
    store->editWheel(first, "name", [](Wheel& wheel) { wheel.name = "One"; });
    store->editWheel(last, "name", [](Wheel& wheel) { wheel.name = "Two"; });
    saves.runAll();
    rig.queue.advance(1);
    EXPECT_EQ(rig.onDisk(), store->config());
    const std::string edited = readText(rig.paths.config);

    // A repair that keeps the backup, in the place of a save that rotates it: it still rotates.
    setWheelSize(*store, 280.0);
    rig.loginItems.setStatus(platform::LoginItems::Status::enabled);
    rig.loginItems.failWith("refused");
    store->applyLaunchAtLogin(false);
    saves.runAll();
    rig.queue.advance(1);
    EXPECT_TRUE(readText(rig.paths.backup) == edited);
    EXPECT_EQ(rig.onDisk(), store->config());

    const std::string repaired = readText(rig.paths.config);
    setWheelSize(*store, 290.0);
    setWheelSize(*store, 300.0);
    store.reset();
    EXPECT_EQ(rig.onDisk()->behavior.wheelSize, 300.0);
    EXPECT_TRUE(readText(rig.paths.backup) == repaired);
    EXPECT_EQ(rig.log.lines(), Lines{"Rondelix: launch-at-login change failed: refused"});
    saves.runAll();
}

// Another program renames its copy of config.json, with one wheel renamed,
// over the file while one of the program's own saves is under way, or once
// it is written and before the window hears so. No notice of it reaches the
// store before the next local edit.
TEST(ConfigStoreFiles, AnOutsideEditLandingDuringASaveIsTakenInWithTheLocalEdits) {
    const auto renameOutside = [](const ConfigPaths& paths) {
        Config config = *decodeConfigBytes(readText(paths.config));
        config.wheels[1].name = "Renamed outside";
        writeText(paths.folder / "edited.json", writeConfigFile(config));
        std::filesystem::rename(paths.folder / "edited.json", paths.config);
    };
    const auto renameFirst = [](ConfigStore& store, const std::string& name) {
        store.editWheel(store.config().wheels[0].id, std::nullopt, [&](Wheel& w) { w.name = name; });
    };
    const auto expectBoth = [](const StoreRig& rig, const ConfigStore& store, const std::string& local) {
        const auto onDisk = rig.onDisk();
        ASSERT_TRUE(onDisk);
        EXPECT_EQ(onDisk->wheels[1].name, "Renamed outside");
        EXPECT_EQ(onDisk->wheels[0].name, local);
        EXPECT_EQ(onDisk, store.config());
        EXPECT_EQ(rig.log.lines(), Lines{"Rondelix: config reloaded from disk (external change)."});
    };
    // While the new file is written, once the backup is rotated, and once the new file bears the name.
    for (const auto at :
         {ConfigSaver::Step::written, ConfigSaver::Step::rotated, ConfigSaver::Step::placed}) {
        SCOPED_TRACE(static_cast<int>(at));
        StoreRig rig;
        writeText(rig.paths.config, factoryFile);
        bool editing = false;
        rig.whileSaving = [&](ConfigSaver::Step step) {
            if (step == at && std::exchange(editing, false)) renameOutside(rig.paths);
        };
        auto store = rig.open();
        editing = true;
        renameFirst(*store, "Local");
        renameFirst(*store, "Local again");
        expectBoth(rig, *store, "Local again");
    }
    {
        SCOPED_TRACE("written, not yet told");
        StoreRig rig;
        writeText(rig.paths.config, factoryFile);
        platform::sim::SimBackground saves;
        auto store = rig.open(&saves);
        setWheelSize(*store, 250);
        saves.runAll();
        renameOutside(rig.paths);
        renameFirst(*store, "Local");
        for (int round = 0; round < 3; ++round) {
            saves.runAll();
            rig.queue.advance(1);
        }
        expectBoth(rig, *store, "Local");
        EXPECT_FALSE(store->canUndo());
        EXPECT_EQ(rig.onDisk()->behavior.wheelSize, 250.0);
    }
}
