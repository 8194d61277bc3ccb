#include "files/FileAccess.h"
#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "model/SummonKey.h"
#include "support/StoreRig.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace rondelix;
using namespace rondelix::testing;
using Change = platform::FileWatcher::Change;
using Lines = std::vector<std::string>;

namespace {

std::string fileFor(int version, const std::string& mainName = "Main") {
    Config config = DefaultConfig::factoryConfig();
    config.version = version;
    config.wheels[0].name = mainName;
    return writeConfigFile(config);
}

} // namespace

TEST(ConfigStoreLoad, FirstRunWritesDefaultsCleanLoadsStayAndOlderFilesUpgrade) {
    StoreRig rig;
    auto store = rig.open();
    EXPECT_FALSE(store->loadedPrimaryCleanly());
    EXPECT_EQ(rig.onDisk(), store->config());
    EXPECT_EQ(rig.watcher.watched(), rig.paths.config);

    Config clamped = store->config();
    clamped.behavior.wheelSize = 1000;
    const std::string clampedFile = writeConfigFile(clamped), older = fileFor(18);
    writeText(rig.paths.config, clampedFile);
    store.reset();
    store = rig.open();
    EXPECT_TRUE(store->loadedPrimaryCleanly());
    EXPECT_EQ(store->config().behavior.wheelSize, 480.0);
    EXPECT_TRUE(readText(rig.paths.config) == clampedFile);

    writeText(rig.paths.config, older);
    store.reset();
    store = rig.open();
    EXPECT_EQ(rig.onDisk()->version, 19);
    EXPECT_TRUE(readText(rig.paths.backup) == older);
    EXPECT_TRUE(rig.log.lines().empty());
}

TEST(ConfigStoreLoad, DamagedPrimaryIsSetAsideAndTheBackupUsedElseTheDefaults) {
    StoreRig rig;
    const std::string backup = fileFor(18, "From backup");
    writeText(rig.paths.config, "{ not json");
    writeText(rig.paths.backup, backup);
    EXPECT_EQ(rig.open()->config().wheels[0].name, "From backup");
    EXPECT_EQ(rig.log.lines(),
              (Lines{"Rondelix: config load failed (" + rig.paths.config.string() +
                         ": line 1, column 4: syntax error while parsing object key - invalid "
                         "literal; last read: '{ no'; expected string literal) — trying the "
                         "backup, else defaults.",
                     "Rondelix: recovered config from config.json.bak."}));
    EXPECT_EQ(rig.setAsideTexts(), Lines{"{ not json"});
    EXPECT_TRUE(readText(rig.paths.backup) == backup);
    EXPECT_EQ(rig.onDisk()->wheels[0].name, "From backup");

    StoreRig both;
    writeText(both.paths.config, "");
    writeText(both.paths.backup, "[]");
    auto store = both.open();
    EXPECT_EQ(store->config().wheels[1].id, "apps");
    EXPECT_EQ(both.log.lines().size(), 1u);
    EXPECT_EQ(both.setAsideTexts(), Lines{""});
    EXPECT_FALSE(std::filesystem::exists(both.paths.config));
    EXPECT_EQ(readText(both.paths.backup), "[]");
    setWheelSize(*store, 300);
    EXPECT_EQ(both.onDisk(), store->config());
}

TEST(ConfigStoreLoad, NewerFileIsUsedReadOnlyAndItsBytesNeverChange) {
    StoreRig rig;
    nlohmann::json newer = nlohmann::json::parse(fileFor(20));
    newer["futureMember"] = {{"kept", true}};
    writeText(rig.paths.config, newer.dump(4));
    auto store = rig.open();
    EXPECT_TRUE(store->isReadOnly());
    setWheelSize(*store, 300);
    store->editWheels("name", [](auto& wheels) { wheels[0].name = "Edited"; });
    store->undo();
    EXPECT_EQ(store->config().behavior.wheelSize, 300.0);
    EXPECT_TRUE(readText(rig.paths.config) == newer.dump(4));
    EXPECT_FALSE(std::filesystem::exists(rig.paths.backup));
    EXPECT_EQ(
        rig.log.lines(),
        (Lines{"Rondelix: config version 20 > build version 19 — running read-only (won't downgrade it).",
               "Rondelix: not saving — on-disk config is newer than this build (read-only)."}));
}

// Sanitizing keeps a binding of more keys than can be held; loading says
// that it never summons, and so does its row on the Bindings page. As the
// only binding it leaves no way to summon, so the factory one is added.
TEST(ConfigStoreLoad, ABindingOfMoreKeysThanCanBeHeldIsKeptAndSaidNeverToSummon) {
    for (const std::size_t count : {SummonKey::mostKeysHeldAtOnce, std::size_t{10000}}) {
        SCOPED_TRACE(count);
        StoreRig rig;
        Config config = DefaultConfig::factoryConfig();
        config.bindings.resize(1);
        config.bindings.front().keyCodes.clear();
        for (std::size_t i = 0; i < count; ++i)
            config.bindings.front().keyCodes.push_back(static_cast<int>(i % 100));
        writeText(rig.paths.config, writeConfigFile(config));
        auto store = rig.open();
        const SummonBinding& kept = store->config().bindings.front();
        const bool unholdable = count > SummonKey::mostKeysHeldAtOnce;
        EXPECT_EQ(SummonKey::unholdableWarning(kept.keyCodes).has_value(), unholdable);
        EXPECT_EQ(rig.log.contains("Rondelix: summon binding " + kept.id.text() + " needs " +
                                   std::to_string(kept.keyCodes.size()) +
                                   " keys held at once — it never summons."),
                  unholdable);
        const auto& bindings = store->config().bindings;
        ASSERT_EQ(bindings.size(), unholdable ? 2u : 1u);
        if (unholdable) {
            EXPECT_EQ(bindings.back(), (SummonBinding{bindings.back().id, {58, 55}, 100, true}));
        }
    }
}

// Each save writes through a temporary file of its own, which a kill may
// leave behind; the next start removes those of the configuration and its
// backup (and the fixed ones earlier versions used), and nothing else.
TEST(ConfigStoreLoad, TemporariesOfSavesAKillCutShortAreRemovedAtStart) {
    StoreRig rig;
    const Lines stale{".config.json.1A2B3C4D.tmp", ".config.json.bak.00FF00FF.tmp", "config.json.tmp",
                      "config.json.bak.tmp"};
    const Lines kept{".config.json.1a2b3c4d.tmp", ".config.json.1A2B3C4.tmp", ".defaults.json.1A2B3C4D.tmp",
                     ".config.json.tmp", "config.json.bak.tmp.1A2B3C4D"};
    for (const auto& name : stale)
        writeText(rig.paths.folder / name, "{");
    for (const auto& name : kept)
        writeText(rig.paths.folder / name, "{");
    std::filesystem::create_directory(rig.paths.folder / ".config.json.ABCDEF01.tmp");
    rig.open();
    for (const auto& name : stale)
        EXPECT_FALSE(std::filesystem::exists(rig.paths.folder / name)) << name;
    for (const auto& name : kept)
        EXPECT_TRUE(std::filesystem::exists(rig.paths.folder / name)) << name;
    EXPECT_TRUE(std::filesystem::is_directory(rig.paths.folder / ".config.json.ABCDEF01.tmp"));
}

TEST(ConfigStoreSave, RotationKeepsOnlyGoodFilesAndSetsOthersAside) {
    StoreRig rig;
    auto store = rig.open();
    const std::string first = readText(rig.paths.config);
    setWheelSize(*store, 300);
    EXPECT_TRUE(readText(rig.paths.backup) == first);

    // Another program's half-written file must not push out the good backup.
    writeText(rig.paths.config, "{\"wheels\": [");
    setWheelSize(*store, 400);
    EXPECT_TRUE(readText(rig.paths.backup) == first);
    EXPECT_EQ(rig.setAsideTexts(), Lines{"{\"wheels\": ["});
    EXPECT_EQ(rig.onDisk(), store->config());

    for (const char* text : {"again", "and again"}) {
        writeText(rig.paths.config, text);
        setAside(rig.paths.config, 1700000000);
    }
    EXPECT_EQ(readText(rig.paths.folder / "config.corrupt-1700000000.json"), "again");
    EXPECT_EQ(readText(rig.paths.folder / "config.corrupt-1700000000-1.json"), "and again");
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
        rig.watcher.fire(Change::modified);
    }

    StoreRig rig;
    std::unique_ptr<ConfigStore> store = rig.open();
    int replaced = 0;
    const Lines adopted{"Rondelix: config reloaded from disk (external change)."};
};

TEST_F(ConfigStoreReload, ExternalChangeIsAdoptedOnceAfterTheLastNoticeSettles) {
    store->editWheels("name", [](auto& wheels) { wheels[0].name = "Edited"; });
    writeExternally([](Config& c) { c.behavior.wheelSize = 400; });
    rig.queue.advance(0.14);
    rig.watcher.fire(Change::modified);
    rig.queue.advance(0.14);
    EXPECT_EQ(store->config().behavior.wheelSize, 320.0);
    rig.queue.advance(0.02);
    EXPECT_EQ(store->config().behavior.wheelSize, 400.0);
    rig.queue.advance(1.0);
    EXPECT_EQ(rig.log.lines(), adopted);
    EXPECT_EQ(replaced, 1);
    EXPECT_FALSE(store->canUndo());
}

TEST_F(ConfigStoreReload, LocalEditDuringAPendingReloadAdoptsTheExternalChangeFirst) {
    writeExternally([](Config& c) { c.behavior.wheelSize = 400; });
    rig.queue.advance(0.05);
    store->mutate([](Config& c) { c.behavior.opacity = 0.5; });
    EXPECT_EQ(rig.onDisk(), store->config());
    EXPECT_EQ(rig.onDisk()->behavior.wheelSize, 400.0);
    EXPECT_EQ(rig.onDisk()->behavior.opacity, 0.5);
    rig.watcher.fire(Change::replaced); // our own save
    rig.queue.advance(1.0);
    EXPECT_EQ(rig.log.lines(), adopted);
}

// With no watcher (the system had none to give) nothing announces an edit
// made outside: each local write first looks whether the file is still the
// one last read or written, and adopts an edit before writing over it.
TEST(ConfigStoreUnwatched, EveryLocalWriteFirstAdoptsAnEditMadeOutside) {
    const std::vector<std::pair<std::string, std::function<void(ConfigStore&)>>> writes{
        {"mutate", [](ConfigStore& s) { setWheelSize(s, 300); }},
        {"editWheels",
         [](ConfigStore& s) { s.editWheels(std::nullopt, [](auto& w) { w[0].name = "Mine"; }); }},
        {"editWheel",
         [](ConfigStore& s) {
             s.editWheel(s.config().wheels[0].id, std::nullopt, [](Wheel& w) { w.name = "Mine"; });
         }},
        {"recordLastUsedWheel", [](ConfigStore& s) { s.recordLastUsedWheel(s.config().wheels[2].id); }},
        {"undo", [](ConfigStore& s) { s.undo(); }},
    };
    for (const auto& [name, write] : writes) {
        SCOPED_TRACE(name);
        StoreRig rig;
        rig.watcher.refusing = true;
        const auto store = rig.open();
        store->editWheels(std::nullopt, [](auto& w) { w[1].name = "Earlier"; });
        Config outside = store->config();
        outside.behavior.opacity = 0.5;
        // As editors save: a new file renamed over the old one.
        writeText(rig.paths.folder / "edited.json", writeConfigFile(outside));
        std::filesystem::rename(rig.paths.folder / "edited.json", rig.paths.config);
        write(*store);
        EXPECT_FALSE(store->watching());
        EXPECT_EQ(store->config().behavior.opacity, 0.5);
        EXPECT_EQ(rig.onDisk(), store->config());
        EXPECT_TRUE(rig.log.contains("Rondelix: config reloaded from disk (external change)."));
    }
}

TEST_F(ConfigStoreReload, HalfWrittenSanitizedAwayOrDeletedChangesAreNotAdopted) {
    writeText(rig.paths.config, "{\"version\": 19, \"wheels\": [");
    rig.watcher.fire(Change::modified);
    rig.queue.advance(0.2);
    writeExternally([](Config& c) {
        c.exportedIcons = std::map<std::string, std::string>{{"a.png", "AA=="}};
    });
    rig.queue.advance(0.2);
    std::filesystem::remove(rig.paths.config);
    rig.watcher.fire(Change::replaced);
    rig.queue.advance(2.0);
    EXPECT_FALSE(rig.watcher.watched());
    EXPECT_TRUE(rig.log.lines().empty());
    EXPECT_EQ(replaced, 0);

    setWheelSize(*store, 300);
    rig.queue.advance(0.5);
    EXPECT_EQ(rig.watcher.watched(), rig.paths.config);
}

TEST_F(ConfigStoreReload, ABrokenHandEditIsToldAndKeptUntilFixedOrReplacedByAnEditInTheProgram) {
    int told = 0;
    store->onBrokenExternalChange = [&] { ++told; };
    const std::string broken = "{\n  \"version\": 19,\n  \"wheels\": [}\n";
    const auto breakFile = [&] {
        writeText(rig.paths.config, broken);
        rig.watcher.fire(Change::modified);
    };
    breakFile();
    rig.queue.advance(0.2);
    EXPECT_EQ(told, 0) << "one bad read may be an editor caught half-way";
    rig.queue.advance(0.2);
    EXPECT_EQ(told, 1);
    ASSERT_EQ(rig.log.lines().size(), 1u);
    EXPECT_NE(rig.log.lines()[0].find("config.json: line 3, column 14: syntax error"), std::string::npos)
        << rig.log.lines()[0];

    // A summon's last-used wheel waits in memory and joins the fixed file.
    const std::string used = store->config().wheels[1].id;
    store->recordLastUsedWheel(used);
    rig.queue.advance(1.0);
    EXPECT_EQ(readText(rig.paths.config), broken);
    EXPECT_EQ(store->config().lastUsedWheelId, used);
    Config fixed = DefaultConfig::factoryConfig();
    fixed.behavior.wheelSize = 400;
    writeText(rig.paths.config, writeConfigFile(fixed));
    rig.watcher.fire(Change::modified);
    rig.queue.advance(0.2);
    EXPECT_EQ(store->config().behavior.wheelSize, 400.0);
    EXPECT_EQ(rig.onDisk(), store->config());
    EXPECT_EQ(rig.onDisk()->lastUsedWheelId, used);

    // An edit in the program's windows first sets the broken file aside, by a name the log gives.
    breakFile();
    rig.queue.advance(0.4);
    EXPECT_EQ(told, 2);
    setWheelSize(*store, 300);
    EXPECT_EQ(rig.setAsideTexts(), Lines{broken});
    EXPECT_EQ(rig.onDisk(), store->config());
    EXPECT_EQ(rig.log.lines().back().rfind(
                  "Rondelix: config.json did not decode; set it aside as config.corrupt-", 0),
              0u)
        << rig.log.lines().back();
}

TEST_F(ConfigStoreReload, TextThatIsNotUTF8IsHeldAsSavedSoOurOwnSaveIsNoExternalChange) {
    store->editWheels("label", [](auto& wheels) { wheels[0].slices[0].label = "Caf\xE9 \xF0\x9F"; });
    store->mutate([](Config& c) {
        c.wheels[0].name = "Ma\xFFin";
        c.behavior.fireSoundName = "\xC0\xAF";
        c.wheels[0].slices[1].action = MacroAction::Url{"https://a\x80.example"};
    });
    rig.watcher.fire(Change::replaced); // our own saves
    rig.queue.advance(1.0);
    EXPECT_TRUE(rig.log.lines().empty());
    EXPECT_EQ(replaced, 0);
    EXPECT_TRUE(store->canUndo());
    EXPECT_EQ(rig.onDisk(), store->config());
    EXPECT_EQ(store->config().wheels[0].slices[0].label, "Caf\uFFFD \uFFFD");
    EXPECT_EQ(store->config().wheels[0].name, "Ma\uFFFDin");
    EXPECT_EQ(store->config().behavior.fireSoundName, "\uFFFD\uFFFD");
    EXPECT_EQ(store->config().wheels[0].slices[1].action,
              MacroAction(MacroAction::Url{"https://a\uFFFD.example"}));
}

class ConfigStoreEdits : public ::testing::Test {
  protected:
    void label(std::optional<std::string> key, const std::string& text) {
        store->editWheels(std::move(key), [&](auto& wheels) { wheels[0].slices[0].label = text; });
    }
    std::string label() const { return store->config().wheels[0].slices[0].label; }
    std::size_t steps() const { return store->history().undoCount(); }

    StoreRig rig;
    std::unique_ptr<ConfigStore> store = rig.open();
};

TEST_F(ConfigStoreEdits, QuickEditsOfOneFieldMakeOneUndoStep) {
    const std::string original = label();
    store->editWheels("slice-1", [](auto&) {});
    EXPECT_EQ(steps(), 0u);
    for (const char* typed : {"H", "He", "Hel", "Hell", "Hello"}) {
        label("slice-1", typed);
        rig.queue.advance(0.9);
    }
    EXPECT_EQ(steps(), 1u);
    store->undo();
    EXPECT_EQ(label(), original);
    EXPECT_EQ(store->history().newestRedo()->at(0).slices[0].label, "Hello");
    store->redo();
    EXPECT_EQ(label(), "Hello");
    EXPECT_EQ(rig.onDisk(), store->config());

    label("slice-1", "a"); // redo ended the run
    rig.queue.advance(1.0);
    label("slice-1", "b"); // a full second later
    label("other", "c");
    label(std::nullopt, "d");
    label("other", "e"); // an edit without a key ended the run
    EXPECT_EQ(steps(), 6u);
    store->undo();
    label("slice-1", "f");
    EXPECT_FALSE(store->canRedo());
}

// Observers of many wheels re-read only the wheel the notice names: it must
// name none whenever anything else may have changed, a change an observer
// makes while told included.
TEST_F(ConfigStoreEdits, TheNoticeNamesTheOneWheelOnlyWhenNothingElseChanged) {
    std::vector<std::optional<std::size_t>> told;
    auto watch = store->configChanged.connectScoped([&] { told.push_back(store->onlyWheelChanged()); });
    const std::string second = store->config().wheels[1].id;
    store->editWheel(second, "name", [](Wheel& wheel) { wheel.name = "Renamed"; });
    store->editWheel(second, std::nullopt, [](Wheel& wheel) { wheel.sliceCount = 4; });
    store->editWheel(second, std::nullopt, [](Wheel& wheel) { wheel.id = "moved"; });
    store->editWheels(std::nullopt, [](auto& wheels) { wheels[0].name = "Listed"; });
    EXPECT_EQ(told, (std::vector<std::optional<std::size_t>>{1, 1, std::nullopt, std::nullopt}));

    told.clear();
    bool once = true;
    auto meddle = store->configChanged.connectScoped([&] {
        if (std::exchange(once, false)) store->mutate([](Config& c) { c.behavior.wheelSize = 333; });
    });
    auto after = store->configChanged.connectScoped([&] { told.push_back(store->onlyWheelChanged()); });
    store->editWheel("moved", std::nullopt, [](Wheel& wheel) { wheel.name = "Again"; });
    EXPECT_EQ(told, (std::vector<std::optional<std::size_t>>{1, std::nullopt, std::nullopt, 1}));
    EXPECT_EQ(store->onlyWheelChanged(), std::nullopt);
}

TEST(UndoHistory, KeepsTheNewestTwoHundredFiftySnapshots) {
    UndoHistory history;
    std::vector<Wheel> wheels(3);
    for (int i = 0; i < 260; ++i) {
        history.record(wheels);
        wheels[1].name = "edit " + std::to_string(i);
    }
    EXPECT_EQ(history.undoCount(), 250u);
    while (auto earlier = history.undo(wheels))
        wheels = *earlier;
    EXPECT_EQ(wheels[1].name, "edit 9");
    EXPECT_EQ(history.redoCount(), 250u);
}

TEST_F(ConfigStoreEdits, ResetAndRestoreKeepTheOtherStateInTheBackup) {
    label("name", "Mine");
    const std::string beforeReset = readText(rig.paths.config);
    store->resetToDefaults();
    EXPECT_TRUE(readText(rig.paths.backup) == beforeReset);
    EXPECT_FALSE(store->canUndo());
    EXPECT_EQ(rig.loginItems.requests(), std::vector<bool>{false});

    ASSERT_TRUE(store->restoreFromBackup());
    EXPECT_EQ(label(), "Mine");
    EXPECT_TRUE(rig.log.contains("Rondelix: config restored from .bak (dev pane)."));
    ASSERT_TRUE(store->restoreFromBackup());
    EXPECT_EQ(label(), "Calculator");
    std::filesystem::remove(rig.paths.backup);
    EXPECT_FALSE(store->restoreFromBackup());
}

TEST_F(ConfigStoreEdits, LaunchAtLoginFollowsWhatTheSystemReallyDid) {
    store->mutate([](Config& c) { c.general.launchAtLogin = true; });
    const std::string backup = readText(rig.paths.backup);
    rig.loginItems.failWith("Operation not permitted");
    store->applyLaunchAtLogin(true);
    EXPECT_TRUE(rig.log.contains("Rondelix: launch-at-login change failed: Operation not permitted"));
    EXPECT_FALSE(rig.onDisk()->general.launchAtLogin);
    EXPECT_TRUE(readText(rig.paths.backup) == backup);

    rig.loginItems.setStatus(platform::LoginItems::Status::requiresApproval);
    store->reconcileLaunchAtLogin();
    EXPECT_TRUE(rig.log.contains("Rondelix: launch-at-login toggle (false) drifted from system state (true) "
                                 "— adopting system state."));
    EXPECT_TRUE(store->config().general.launchAtLogin);
}
