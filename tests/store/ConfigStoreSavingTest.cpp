// Whether the store may write the configuration at all: what it writes it
// reads back however large, a file too large to read stays as it is, and
// without the writer lock or a writable folder the store writes nothing and
// says why.

#include "files/FileAccess.h"
#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "support/LargeConfigs.h"
#include "support/PermissionsBind.h"
#include "support/StoreRig.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace rondelix;
using namespace rondelix::testing;
using Lines = std::vector<std::string>;

namespace {

const std::string factoryFile = writeConfigFile(DefaultConfig::factoryConfig());

} // namespace

// The program writes a configuration indented, about twice the size of the
// same one written compactly: one that loads must load again once saved.
TEST(ConfigStoreSize, LargeConfigurationsRoundTripThroughSaveAndLoadWhole) {
    for (const auto& c : largeConfigurations()) {
        SCOPED_TRACE(c.name);
        StoreRig rig;
        writeText(rig.paths.config, compacted(writeConfigFile(withCopies(c.wheel, c.count))));
        auto store = rig.open();
        ASSERT_EQ(store->config().wheels.size(), 4u + static_cast<std::size_t>(c.count));
        setWheelSize(*store, 300);
        const Config saved = store->config();
        store.reset();
        EXPECT_GT(std::filesystem::file_size(rig.paths.config), 64u << 20);
        EXPECT_TRUE(rig.open()->config() == saved);
        EXPECT_EQ(rig.log.lines(), Lines{});
        EXPECT_EQ(rig.listing(), (Lines{"config.json", "config.json.bak"}));
    }
}

// A file refused for its size alone is the user's wheels all the same: it
// stays where it is, byte for byte, and the store runs on the backup or the
// factory wheels without ever writing over it, until the file reads again.
TEST(ConfigStoreSize, AFileTooLargeToLoadIsKeptWholeWhileTheStoreRunsReadOnly) {
    for (const bool withBackup : {true, false}) {
        SCOPED_TRACE(withBackup ? "backup" : "no backup");
        StoreRig rig;
        Config backup = DefaultConfig::factoryConfig();
        backup.wheels[0].name = "From the backup";
        if (withBackup) writeText(rig.paths.backup, writeConfigFile(backup));
        // Past the limit by a byte, without the disk holding it: a file with a hole.
        writeText(rig.paths.config, factoryFile);
        ASSERT_EQ(::truncate(rig.paths.config.c_str(), static_cast<off_t>(maxConfigFileBytes) + 1), 0);
        const auto before = fileIdentity(rig.paths.config);
        const Lines files = rig.listing();

        auto store = rig.open();
        int told = 0;
        store->readOnlyChanged.connect([&] { ++told; });
        EXPECT_EQ(store->config().wheels[0].name, withBackup ? "From the backup" : "Main");
        EXPECT_TRUE(store->isReadOnly());
        EXPECT_EQ(
            store->saveRefusal()->sentence,
            std::string("config.json is too large to load (268.435457 MB; the most is 268.435456 MB), so "
                        "Rondelix runs on ") +
                (withBackup ? "its backup" : "the factory wheels") +
                " and leaves the file as it is; changes can't be saved.");
        setWheelSize(*store, 300);
        store->editWheels("name", [](auto& wheels) { wheels[0].name = "Edited"; });
        store->resetToDefaults();
        EXPECT_EQ(fileIdentity(rig.paths.config), before);
        EXPECT_EQ(rig.listing(), files);
        Lines expected{"Rondelix: config load failed (" + rig.paths.config.string() +
                           ": File too large) — trying the backup, else defaults.",
                       "Rondelix: config.json is too large to load — leaving it as it is, read-only."};
        if (withBackup) expected.push_back("Rondelix: recovered config from config.json.bak.");
        expected.push_back("Rondelix: not saving — config.json is too large to load (read-only).");
        EXPECT_EQ(rig.log.lines(), expected);

        // Cut down by hand, it is read and saved over again.
        writeText(rig.paths.config, writeConfigFile(backup));
        rig.watcher.fire(platform::FileWatcher::Change::modified);
        rig.queue.advance(1);
        EXPECT_FALSE(store->isReadOnly());
        EXPECT_EQ(told, 1);
        setWheelSize(*store, 320);
        EXPECT_EQ(rig.onDisk()->behavior.wheelSize, 320.0);
    }
}

// What a save would write past the limit is not written, and the windows
// say why; a change that brings it back under the limit is saved again.
TEST(ConfigStoreSize, ASaveTooLargeToLoadAgainIsNotWrittenAndSaysWhy) {
    StoreRig rig;
    writeText(rig.paths.config, factoryFile);
    rig.largestFile = factoryFile.size() + 1000;
    auto store = rig.open();
    int told = 0;
    store->readOnlyChanged.connect([&] { ++told; });
    store->editWheels("name", [](auto& wheels) { wheels[0].name = std::string(2000, 'x'); });
    EXPECT_EQ(readText(rig.paths.config), factoryFile);
    EXPECT_FALSE(std::filesystem::exists(rig.paths.backup));
    EXPECT_EQ(rig.log.lines(),
              Lines{"Rondelix: config save failed: " + rig.paths.config.string() + ": File too large"});
    EXPECT_FALSE(store->isReadOnly());
    ASSERT_TRUE(store->saveRefusal());
    EXPECT_EQ(store->saveRefusal()->cause, SaveRefusal::Cause::tooLargeToSave);
    EXPECT_TRUE(store->saveRefusal()->sentence.ends_with("changes are no longer being saved."));
    EXPECT_EQ(told, 1);

    store->undo();
    EXPECT_EQ(rig.onDisk(), store->config());
    EXPECT_FALSE(store->saveRefusal());
    EXPECT_EQ(told, 2);
}

// Without the lock that makes it the one writer, or without a folder it may
// write in, the store runs read-only from the start: it leaves what is
// there alone, a write another program may still be making included, and
// says why.
TEST(ConfigStoreWriter, WithoutTheLockOrAWritableFolderTheStoreWritesNothingAndSaysWhy) {
    const struct {
        const char* name;
        bool configThere;
        bool lockTaken;
        std::string logLine, skipped, sentence;
    } cases[] = {
        {"no lock", true, false,
         "configuration lock unavailable ({folder}/config.json.lock: Permission denied) — running read-only.",
         "the configuration lock is unavailable",
         "Rondelix can't lock its configuration ({folder}/config.json.lock: Permission denied), so another "
         "Rondelix could write it at the same time; changes can't be saved."},
        {"no lock, no file yet", false, false,
         "configuration lock unavailable ({folder}/config.json.lock: Permission denied) — running read-only.",
         "the configuration lock is unavailable",
         "Rondelix can't lock its configuration ({folder}/config.json.lock: Permission denied), so another "
         "Rondelix could write it at the same time; changes can't be saved."},
        {"folder not writable", true, true,
         "configuration folder {folder} is not writable (Permission denied) — running read-only.",
         "the configuration folder is not writable",
         "Rondelix can't write to its configuration folder ({folder}: Permission denied); changes can't be "
         "saved."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreRig rig;
        const auto withFolder = [&](std::string text) {
            return text.replace(text.find("{folder}"), 8, rig.paths.folder.string());
        };
        std::filesystem::create_directories(rig.paths.folder);
        if (c.configThere) writeText(rig.paths.config, factoryFile);
        writeText(rig.paths.folder / ".config.json.0123ABCD.tmp", "still being written");
        const Lines files = rig.listing();
        if (!c.lockTaken)
            rig.noWriterLock = rig.paths.folder.string() + "/config.json.lock: Permission denied";
        if (c.lockTaken) ::chmod(rig.paths.folder.c_str(), 0500);
        EXPECT_TRUE(passesWhilePermissionsBind([&] {
            auto store = rig.open();
            EXPECT_TRUE(store->isReadOnly());
            EXPECT_EQ(store->saveRefusal()->sentence, withFolder(c.sentence));
            setWheelSize(*store, 300);
            EXPECT_EQ(rig.log.lines(), (Lines{"Rondelix: " + withFolder(c.logLine),
                                              "Rondelix: not saving — " + c.skipped + " (read-only)."}));
        }));
        ::chmod(rig.paths.folder.c_str(), 0700);
        EXPECT_EQ(rig.listing(), files);
        EXPECT_EQ(readText(rig.paths.config), c.configThere ? factoryFile : "<unreadable>");
    }
}
