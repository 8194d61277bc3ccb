#include "store/ConfigTransfer.h"

#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "support/TransferRig.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace rondelix;
using namespace rondelix::testing;
namespace fs = std::filesystem;

namespace {

const std::string iconA = "0F8E2C3A-1B2C-4D5E-8F90-A1B2C3D4E5F6.png";
const std::string iconB = "1f8e2c3a-1b2c-4d5e-8f90-a1b2c3d4e5f6.png";
constexpr const char* notAConfigFile =
    "Import Failed / This is not a Rondelix config file, or it is damaged.";

struct Transfer : ::testing::Test {
    TransferRig rig;
    fs::path file = rig.home.path / "moved.json";

    void exportTo(const fs::path& location) {
        rig.dialogs.saveLocations.push_back(location);
        ConfigTransfer(rig.services()).exportConfig();
    }
    void importText(const std::string& text) {
        writeText(file, text);
        rig.dialogs.filesToOpen.push_back(file);
        ConfigTransfer(rig.services()).importConfig();
    }
};

Wheel wheelShowing(const std::string& id, std::vector<std::string> icons,
                   MacroAction action = MacroAction::Text{"x"}) {
    Wheel wheel{.id = id, .name = id};
    for (std::size_t i = 0; i < icons.size(); ++i)
        wheel.slices.push_back(
            Slice{Uuid::generate(), static_cast<int>(i), "S", Icon::CustomImage{icons[i]}, action});
    return wheel;
}

} // namespace

TEST_F(Transfer, ExportRefusesTheLiveFileHoweverItIsReached) {
    const std::string before = readText(rig.paths.config);
    fs::create_symlink(rig.paths.config, rig.home.path / "link.json");
    for (const auto& location :
         {rig.paths.config, rig.home.path / "link.json", rig.paths.folder / "../rondelix/config.json"})
        exportTo(location);
    EXPECT_EQ(rig.alertMessages(),
              std::vector<std::string>(
                  3, "Export Failed / That is the live config file. Choose a different location."));
    EXPECT_EQ(rig.dialogs.savePanels.at(0).suggestedName, "rondelix-config.json");
    EXPECT_EQ(readText(rig.paths.config), before);
}

TEST_F(Transfer, ExportWithoutPicturesOrWhileReadOnly) {
    // A file of the user's that happens to carry the temporary-looking name stays.
    writeText(rig.home.path / "moved.json.tmp", "mine");
    exportTo(file);
    EXPECT_FALSE(nlohmann::json::parse(readText(file)).contains("exportedIcons"));
    EXPECT_EQ(readText(rig.home.path / "moved.json.tmp"), "mine");
    EXPECT_EQ(std::distance(fs::directory_iterator(rig.home.path), fs::directory_iterator()), 3)
        << "only the export and the user's file beside the configuration folder";

    nlohmann::json newer = nlohmann::json::parse(readText(rig.paths.config));
    newer["version"] = Config::currentVersion + 1;
    newer["futureMember"] = {{"kept", true}};
    writeText(rig.paths.config, newer.dump(3));
    rig.reopen();
    exportTo(file);
    EXPECT_EQ(readText(file), newer.dump(3));

    exportTo(rig.home.path / "missing" / "moved.json");
    EXPECT_TRUE(rig.alertMessages().at(0).starts_with("Export Failed / The file could not be written: "));
    EXPECT_TRUE(rig.log.lines().back().starts_with("Rondelix: export failed: "));
}

TEST_F(Transfer, ImportRefusesWhatIsNotAConfigFile) {
    const Config before = rig.store->config();
    for (const std::string text : {"[]", R"({"rondixVersion": 1, "wheel": {}, "icons": {}})",
                                   R"({"wheels": 3})", "{\"wheels\": [], \"x\": \"\xFF\"}", "{"})
        importText(text);
    EXPECT_EQ(rig.alertMessages(), std::vector<std::string>(5, notAConfigFile));
    EXPECT_EQ(rig.store->config(), before);
}

TEST_F(Transfer, DecliningTheReviewChangesNothing) {
    Config incoming = DefaultConfig::factoryConfig();
    incoming.wheels = {wheelShowing("w", {iconA}, MacroAction::Script{"rm -rf ~"})};
    incoming.exportedIcons = {{{iconA, "aWNvbg=="}}};
    const Config before = rig.store->config();
    const std::string onDisk = readText(rig.paths.config);
    rig.dialogs.alertAnswers.push_back("Cancel");
    importText(writeConfigFile(incoming));
    EXPECT_EQ(rig.dialogs.alerts.at(0).message, "This file can run code on this computer");
    EXPECT_EQ(rig.store->config(), before);
    EXPECT_EQ(readText(rig.paths.config), onDisk);
    EXPECT_FALSE(fs::exists(rig.icons));
}

TEST_F(Transfer, ImportReplacesEverythingWithoutUndoAndAppliesLaunchAtLoginUnlessNewer) {
    rig.store->editWheels(std::nullopt, [](auto& wheels) { wheels[0].name = "edited"; });
    int replaced = 0;
    rig.store->afterConfigReplaced = [&] { ++replaced; };
    importText(R"({"bindings": [], "general": {"launchAtLogin": true}, "version": 3})");

    const Config& now = rig.store->config();
    EXPECT_EQ(now.wheels.size(), 4u);               // sanitizing gives the factory wheels
    EXPECT_EQ(now.version, Config::currentVersion); // and the upgrade ran
    EXPECT_FALSE(rig.store->canUndo());
    EXPECT_EQ(rig.loginItems.requests(), std::vector<bool>{true});
    EXPECT_EQ(replaced, 1);
    EXPECT_EQ(*decodeConfigBytes(readText(rig.paths.config)), now);

    // A newer version makes the store read-only, which the windows hear of:
    // nothing saved, nothing applied.
    const std::string onDisk = readText(rig.paths.config);
    int turnedReadOnly = 0;
    rig.store->readOnlyChanged.connect([&] { ++turnedReadOnly; });
    importText(R"({"wheels": [], "general": {"launchAtLogin": false}, "version": 99})");
    EXPECT_TRUE(rig.store->isReadOnly());
    EXPECT_EQ(turnedReadOnly, 1);
    EXPECT_EQ(readText(rig.paths.config), onDisk);
    EXPECT_EQ(rig.loginItems.requests(), std::vector<bool>{true});
}

// The pictures come back as the drawer draws them: their pixels alone.
TEST_F(Transfer, ExportThenImportRestoresWheelsAndPicturesDrawnAnew) {
    std::string binary;
    for (int i = 0; i < 256; ++i)
        binary += static_cast<char>(i);
    binary = platform::sim::SimImages::pngHeader(16, 16) + binary;
    writeText(rig.icons / iconA, binary);
    writeText(rig.icons / iconB, platform::sim::SimImages::pngHeader(32, 32) + binary + binary);
    rig.store->mutate([](Config& config) {
        config.wheels = {wheelShowing("one", {iconA, iconB}),
                         wheelShowing("two", {iconB}, MacroAction::Script{"ls"})};
    });
    const Config original = rig.store->config();
    exportTo(file);
    EXPECT_EQ(decodeConfigBytes(readText(file))->exportedIcons->size(), 2u);

    TransferRig elsewhere;
    elsewhere.dialogs.filesToOpen.push_back(file);
    elsewhere.dialogs.alertAnswers.push_back("Add Anyway");
    ConfigTransfer(elsewhere.services()).importConfig();
    EXPECT_EQ(elsewhere.store->config(), original);
    EXPECT_EQ(readText(elsewhere.icons / iconA), platform::sim::SimImages::pngHeader(16, 16));
    EXPECT_EQ(readText(elsewhere.icons / iconB), platform::sim::SimImages::pngHeader(32, 32));
}
