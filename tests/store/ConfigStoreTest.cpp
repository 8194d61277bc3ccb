#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "store/FileAccess.h"
#include "support/StoreRig.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace rondelix;
using namespace rondelix::testing;
using Change = platform::FileWatcher::Change;

namespace {

Config sample(int version = Config::currentVersion, const std::string& mainName = "Mine") {
    Config config = DefaultConfig::factoryConfig();
    config.version = version;
    config.wheels[0].name = mainName;
    return config;
}

std::vector<std::filesystem::path> setAsideFiles(const StoreRig& rig) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(rig.paths.folder))
        if (entry.path().filename().string().starts_with("config.corrupt-")) found.push_back(entry.path());
    return found;
}

long count(const StoreRig& rig, const std::string& line) {
    return std::count(rig.log.lines().begin(), rig.log.lines().end(), line);
}

std::string loadFailedLine(const std::filesystem::path& file, const std::string& why) {
    return "Rondelix: config load failed (" + file.string() + ": " + why +
           ") — trying the backup, else defaults.";
}

void setWheelSize(ConfigStore& store, double size) {
    store.mutate([size](Config& c) { c.behavior.wheelSize = size; });
}

} // namespace

TEST(ConfigStoreLoad, FirstRunWritesTheFactoryConfiguration) {
    StoreRig rig;
    auto store = rig.open();
    EXPECT_FALSE(store->loadedPrimaryCleanly());
    EXPECT_EQ(store->config().wheels.size(), 4u);
    EXPECT_EQ(decodeConfigBytes(readText(rig.paths.config)), store->config());
    EXPECT_EQ(rig.watcher.watched(), rig.paths.config);
    EXPECT_TRUE(rig.log.lines().empty());
}

TEST(ConfigStoreLoad, CleanFileIsNotRewrittenButAnOlderOneIsUpgraded) {
    StoreRig rig;
    Config config = sample();
    config.behavior.wheelSize = 1000;
    writeText(rig.paths.config, writeConfigFile(config));
    {
        auto store = rig.open();
        EXPECT_TRUE(store->loadedPrimaryCleanly());
        EXPECT_EQ(store->config().behavior.wheelSize, 480.0);
        EXPECT_EQ(readText(rig.paths.config), writeConfigFile(config));
    }
    config.version = 18;
    writeText(rig.paths.config, writeConfigFile(config));
    auto store = rig.open();
    EXPECT_EQ(decodeConfigBytes(readText(rig.paths.config))->version, 19);
    EXPECT_EQ(readText(rig.paths.backup), writeConfigFile(config));
}

TEST(ConfigStoreLoad, DamagedPrimaryIsSetAsideAndTheBackupUsed) {
    StoreRig rig;
    const std::string backupText = writeConfigFile(sample(18, "From backup"));
    writeText(rig.paths.config, "{ not json");
    writeText(rig.paths.backup, backupText);
    auto store = rig.open();

    EXPECT_EQ(store->config().wheels[0].name, "From backup");
    EXPECT_EQ(rig.log.lines(),
              (std::vector<std::string>{loadFailedLine(rig.paths.config, "not valid JSON"),
                                        "Rondelix: recovered config from config.json.bak."}));
    const auto setAside = setAsideFiles(rig);
    ASSERT_EQ(setAside.size(), 1u);
    EXPECT_EQ(readText(setAside[0]), "{ not json");
    EXPECT_EQ(readText(rig.paths.backup), backupText);
    EXPECT_EQ(decodeConfigBytes(readText(rig.paths.config)), store->config());
    EXPECT_FALSE(store->loadedPrimaryCleanly());
}

TEST(ConfigStoreLoad, BothDamagedRunsOnDefaultsAndKeepsBothFiles) {
    StoreRig rig;
    writeText(rig.paths.config, "");
    writeText(rig.paths.backup, "[]");
    auto store = rig.open();

    EXPECT_EQ(store->config().wheels[1].id, "apps");
    EXPECT_EQ(rig.log.lines().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(rig.paths.config));
    EXPECT_EQ(readText(rig.paths.backup), "[]");
    ASSERT_EQ(setAsideFiles(rig).size(), 1u);
    setWheelSize(*store, 300);
    EXPECT_EQ(decodeConfigBytes(readText(rig.paths.config)), store->config());
}

TEST(ConfigStoreLoad, NewerFileIsUsedReadOnlyAndItsBytesNeverChange) {
    StoreRig rig;
    nlohmann::json newer = nlohmann::json::parse(writeConfigFile(sample()));
    newer["version"] = 20;
    newer["futureMember"] = {{"kept", true}};
    const std::string text = newer.dump(4);
    writeText(rig.paths.config, text);
    auto store = rig.open();

    EXPECT_TRUE(store->isReadOnly());
    EXPECT_TRUE(store->loadedPrimaryCleanly());
    setWheelSize(*store, 300);
    store->editWheels("name", [](auto& wheels) { wheels[0].name = "Edited"; });
    store->undo();
    store->reconcileLaunchAtLogin();
    EXPECT_EQ(store->config().behavior.wheelSize, 300.0);
    EXPECT_EQ(readText(rig.paths.config), text);
    EXPECT_FALSE(std::filesystem::exists(rig.paths.backup));
    EXPECT_EQ(rig.log.lines(),
              (std::vector<std::string>{
                  "Rondelix: config version 20 > build version 19 — running read-only (won't downgrade it).",
                  "Rondelix: not saving — on-disk config is newer than this build (read-only)."}));
}

TEST(ConfigStoreSave, RotationReplacesAStaleTemporaryFile) {
    StoreRig rig;
    auto store = rig.open();
    const std::string first = readText(rig.paths.config);
    writeText(rig.paths.backupTemp, "left half-way");
    setWheelSize(*store, 300);
    EXPECT_EQ(readText(rig.paths.backup), first);
    EXPECT_FALSE(std::filesystem::exists(rig.paths.backupTemp));
    EXPECT_EQ(decodeConfigBytes(readText(rig.paths.config))->behavior.wheelSize, 300.0);
}

TEST(ConfigStoreSave, UndecodablePrimaryIsSetAsideInsteadOfReplacingTheBackup) {
    StoreRig rig;
    auto store = rig.open();
    setWheelSize(*store, 300);
    const std::string goodBackup = readText(rig.paths.backup);
    writeText(rig.paths.config, "{\"wheels\": [");
    setWheelSize(*store, 400);

    EXPECT_EQ(readText(rig.paths.backup), goodBackup);
    const auto setAside = setAsideFiles(rig);
    ASSERT_EQ(setAside.size(), 1u);
    EXPECT_EQ(readText(setAside[0]), "{\"wheels\": [");
    EXPECT_EQ(decodeConfigBytes(readText(rig.paths.config)), store->config());
}

TEST(ConfigStoreSave, SettingAsideNeverOverwritesAnEarlierFile) {
    TempHome home;
    const auto file = home.path() / "config.json";
    writeText(file, "first");
    EXPECT_EQ(setAside(file, 1700000000), home.path() / "config.corrupt-1700000000.json");
    writeText(file, "second");
    EXPECT_EQ(setAside(file, 1700000000), home.path() / "config.corrupt-1700000000-1.json");
    EXPECT_EQ(readText(home.path() / "config.corrupt-1700000000.json"), "first");
}

class ConfigStoreReload : public ::testing::Test {
  protected:
    void SetUp() override {
        store->afterConfigReplaced = [this] { ++replaced; };
    }

    void writeExternally(const std::function<void(Config&)>& change) {
        Config config = store->config();
        change(config);
        writeText(rig.paths.config, writeConfigFile(config));
    }
    long reloadLines() const { return count(rig, "Rondelix: config reloaded from disk (external change)."); }

    StoreRig rig;
    std::unique_ptr<ConfigStore> store = rig.open();
    int replaced = 0;
};

TEST_F(ConfigStoreReload, ExternalChangeIsAdoptedOnceAfterTheLastNoticeSettles) {
    store->editWheels("name", [](auto& wheels) { wheels[0].name = "Edited"; });
    writeExternally([](Config& c) { c.behavior.wheelSize = 400; });
    rig.watcher.fire(Change::modified);
    rig.queue.advance(0.14);
    rig.watcher.fire(Change::modified);
    rig.queue.advance(0.14);
    EXPECT_EQ(store->config().behavior.wheelSize, 320.0);
    rig.queue.advance(0.02);
    EXPECT_EQ(store->config().behavior.wheelSize, 400.0);
    rig.queue.advance(1.0);
    EXPECT_EQ(reloadLines(), 1);
    EXPECT_EQ(replaced, 1);
    EXPECT_FALSE(store->canUndo());
}

TEST_F(ConfigStoreReload, LocalEditDuringAPendingReloadAdoptsTheExternalChangeFirst) {
    writeExternally([](Config& c) { c.behavior.wheelSize = 400; });
    rig.watcher.fire(Change::modified);
    rig.queue.advance(0.05);
    store->mutate([](Config& c) { c.behavior.opacity = 0.5; });

    const auto onDisk = decodeConfigBytes(readText(rig.paths.config));
    EXPECT_EQ(onDisk, store->config());
    EXPECT_EQ(onDisk->behavior.wheelSize, 400.0);
    EXPECT_EQ(onDisk->behavior.opacity, 0.5);
    // The notice of our own save finds nothing to adopt.
    rig.watcher.fire(Change::replaced);
    rig.queue.advance(1.0);
    EXPECT_EQ(reloadLines(), 1);
    EXPECT_EQ(rig.watcher.watched(), rig.paths.config);
}

TEST_F(ConfigStoreReload, DeletedFileIsWaitedForAndWrittenAgainByTheNextEdit) {
    std::filesystem::remove(rig.paths.config);
    rig.watcher.fire(Change::replaced);
    rig.queue.advance(2.0);
    EXPECT_FALSE(rig.watcher.watched());
    EXPECT_EQ(store->config().wheels.size(), 4u);
    setWheelSize(*store, 300);
    rig.queue.advance(0.5);
    EXPECT_EQ(rig.watcher.watched(), rig.paths.config);
    EXPECT_EQ(reloadLines(), 0);
}

TEST_F(ConfigStoreReload, HalfWrittenOrSanitizedAwayChangesAreIgnored) {
    writeText(rig.paths.config, "{\"version\": 19, \"wheels\": [");
    rig.watcher.fire(Change::modified);
    rig.queue.advance(0.2);
    writeExternally([](Config& c) {
        c.exportedIcons = std::map<std::string, std::string>{{"a.png", "AA=="}};
    });
    rig.watcher.fire(Change::modified);
    rig.queue.advance(0.2);
    EXPECT_TRUE(rig.log.lines().empty());
    EXPECT_EQ(replaced, 0);
}
