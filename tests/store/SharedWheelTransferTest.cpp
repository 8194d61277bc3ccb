#include "store/SharedWheelTransfer.h"

#include "model/ConfigCoding.h"
#include "store/SharedWheel.h"
#include "support/TransferRig.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <regex>

using namespace rondelix;
using namespace rondelix::testing;
namespace fs = std::filesystem;

namespace {

const std::string uuidName = "0F8E2C3A-1B2C-4D5E-8F90-A1B2C3D4E5F6.png";
constexpr const char* notAWheelFile = "Import Failed / This is not a Rondelix wheel file, or it is damaged.";

Slice slice(int position, Icon icon, MacroAction action = MacroAction::Text{"hi"}) {
    return Slice{Uuid::generate(), position, "Slice", std::move(icon), std::move(action)};
}

struct WheelTransfer : ::testing::Test {
    TransferRig rig;
    fs::path file = rig.home.path / "shared.rondix";

    std::optional<std::string> importText(const std::string& text) {
        writeText(file, text);
        rig.dialogs.filesToOpen.push_back(file);
        return SharedWheelTransfer(rig.services()).importWheel();
    }
    SharedWheel exported(const Wheel& wheel) {
        rig.store->editWheels(std::nullopt, [&](auto& wheels) { wheels.push_back(wheel); });
        rig.dialogs.saveLocations.push_back(file);
        SharedWheelTransfer(rig.services()).exportWheel(wheel.id);
        return *SharedWheel::decode(readText(file));
    }
};

} // namespace

TEST_F(WheelTransfer, ExportCarriesEachReadablePictureUnderAUuidName) {
    writeText(rig.icons / "photo.png", "photo bytes");
    writeText(rig.icons / uuidName, std::string("\x89PNG\0\xFF", 6));
    const Wheel wheel{"shared",
                      "  Tools \n",
                      8,
                      {slice(0, Icon::CustomImage{"photo.png"}), slice(1, Icon::CustomImage{"photo.png"}),
                       slice(2, Icon::CustomImage{uuidName}), slice(3, Icon::CustomImage{uuidName}),
                       slice(4, Icon::CustomImage{"missing.png"}),
                       slice(5, Icon::CustomImage{"../photo.png"})},
                      "org.gnome.Calculator"};
    const SharedWheel shared = exported(wheel);

    EXPECT_EQ(rig.dialogs.savePanels.at(0).suggestedName, "Tools");
    EXPECT_EQ(rig.dialogs.savePanels.at(0).allowedExtensions, std::vector<std::string>{"rondix"});
    EXPECT_EQ(shared.rondixVersion, 1);
    EXPECT_TRUE(readText(file).starts_with("{\n  \"icons\": {\n")); // pretty, keys sorted
    ASSERT_EQ(shared.icons.size(), 3u); // photo.png twice under two new names, the UUID file once
    EXPECT_EQ(shared.icons.at(uuidName), "iVBORwD/");
    const auto& renamed = shared.wheel.slices;
    for (int i : {0, 1})
        EXPECT_EQ(shared.icons.at(renamed[i].icon.as<Icon::CustomImage>()->filename), "cGhvdG8gYnl0ZXM=");
    EXPECT_NE(renamed[0].icon, renamed[1].icon);
    for (int i : {2, 3, 4, 5})
        EXPECT_EQ(renamed[i].icon, wheel.slices[i].icon);
    EXPECT_EQ(*rig.store->wheel("shared"), wheel); // the stored wheel keeps its names
}

TEST_F(WheelTransfer, ExportOfNothingCancelledOrUnwritable) {
    SharedWheelTransfer(rig.services()).exportWheel("no such wheel"); // shows no panel
    rig.store->editWheels(std::nullopt,
                          [](auto& wheels) { wheels.push_back(Wheel{.id = "blank", .name = " \t"}); });
    SharedWheelTransfer(rig.services()).exportWheel("blank"); // cancelled
    EXPECT_EQ(rig.dialogs.savePanels.at(0).suggestedName, "Wheel");

    rig.dialogs.saveLocations.push_back(rig.home.path / "missing/shared.rondix");
    SharedWheelTransfer(rig.services()).exportWheel("blank");
    EXPECT_TRUE(rig.log.lines().at(0).starts_with("Rondelix: share wheel failed: "));
    EXPECT_TRUE(rig.alertMessages().at(0).starts_with("Share Failed / The wheel could not be written: "));
}

TEST_F(WheelTransfer, ImportRefusesWhatIsNotAWholeWheelFile) {
    const std::string w = R"("wheel": {"id": "w"})", v = R"("rondixVersion": 1)", i = R"("icons": {})";
    const std::vector<std::string> refused{"not json",
                                           "[1, 2]",
                                           R"({"wheels": [], "bindings": []})",
                                           "{" + w + ", " + i + "}",
                                           "{" + v + ", " + w + "}",
                                           "{" + v + ", " + w + R"(, "icons": {"a": 1}})",
                                           R"({"rondixVersion": "1", )" + w + ", " + i + "}",
                                           "{" + v + R"(, "wheel": [], )" + i + "}",
                                           "{" + v + ", " + i + ", \"wheel\": {\"name\": \"\xC3\x28\"}}",
                                           "{" + v + ", " + i + ", \"wheel\": " + std::string(9999, '[') +
                                               std::string(9999, ']') + "}"};
    for (const auto& text : refused) {
        rig.dialogs.alerts.clear();
        EXPECT_EQ(importText(text), std::nullopt) << text.substr(0, 80);
        EXPECT_EQ(rig.alertMessages(), std::vector<std::string>{notAWheelFile}) << text.substr(0, 80);
    }
    rig.dialogs.alerts.clear();
    fs::resize_file(file, 50'331'649);
    rig.dialogs.filesToOpen.push_back(file);
    EXPECT_EQ(SharedWheelTransfer(rig.services()).importWheel(), std::nullopt);
    EXPECT_EQ(rig.alertMessages(),
              std::vector<std::string>{"Import Failed / The file is too large to import safely."});
    EXPECT_EQ(rig.store->config().wheels.size(), 4u);
    EXPECT_FALSE(fs::exists(rig.icons));
}

TEST_F(WheelTransfer, ImportAddsTheReviewedWheelUnboundUnderAFreshIdAsOneUndoStep) {
    SharedWheel shared;
    shared.wheel =
        Wheel{"gallery-tools", "Tools", 6, {slice(0, Icon::CustomImage{uuidName})}, "org.gnome.Calculator"};
    const std::string picture = platform::sim::SimImages::pngHeader(16, 16);
    shared.icons = {{uuidName, Base64::encode(picture)}};
    shared.rondixVersion = 0;
    const auto id = importText(shared.fileBytes());
    ASSERT_TRUE(id);
    EXPECT_TRUE(std::regex_match(*id, std::regex("wheel-[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}")));
    Wheel expected = shared.wheel;
    expected.id = *id;
    expected.appBundleIdentifier.reset();
    EXPECT_EQ(rig.store->config().wheels.back(), expected);
    shared.rondixVersion = 99;
    ASSERT_TRUE(importText(shared.fileBytes()));
    EXPECT_EQ(readText(rig.icons / uuidName), picture);
    EXPECT_EQ(rig.dialogs.openPanels.at(0).allowedExtensions, (std::vector<std::string>{"rondix", "json"}));

    // The second copy's slice ids clashed with the first's and were derived afresh.
    const auto& wheels = rig.store->config().wheels;
    ASSERT_EQ(wheels.size(), 6u);
    EXPECT_NE(wheels[4].id, wheels[5].id);
    EXPECT_NE(wheels[4].slices[0].id, wheels[5].slices[0].id);
    rig.store->undo();
    EXPECT_EQ(rig.store->config().wheels.size(), 5u);
}

// A wheel shared from an older build reads in this desktop's words at once,
// as a configuration loaded or imported does; a user's own label stays.
TEST_F(WheelTransfer, ImportReadsFormerFactoryLabelsInThisDesktopsWords) {
    SharedWheel shared;
    shared.wheel = Wheel{"older", "Older", 4, {}, std::nullopt};
    const std::pair<std::string, MacroAction> rows[] = {
        {"Toggle Night Shift", MacroAction::SystemAction{"night-shift"}},
        {"Toggle Focus", MacroAction::Shortcut{"Toggle Focus"}},
        {"Toggle Focus", MacroAction::Text{"focus mode"}},
    };
    for (int i = 0; i < 3; ++i)
        shared.wheel.slices.push_back(
            Slice{Uuid::generate(), i, rows[i].first, Icon::None{}, rows[i].second});
    rig.dialogs.alertAnswers.push_back("Add Anyway");
    ASSERT_TRUE(importText(shared.fileBytes()));
    std::vector<std::string> labels;
    for (const Slice& s : rig.store->config().wheels.back().slices)
        labels.push_back(s.label);
    EXPECT_EQ(labels,
              (std::vector<std::string>{"Toggle Night Light", "Toggle Do Not Disturb", "Toggle Focus"}));
}

TEST_F(WheelTransfer, NothingIsWrittenWithoutConsentOrWhileReadOnly) {
    SharedWheel shared;
    shared.wheel =
        Wheel{.id = "w", .name = "", .slices = {slice(0, Icon::None{}, MacroAction::Script{"echo hi"})}};
    shared.icons = {{uuidName, "aWNvbg=="}};
    rig.dialogs.alertAnswers.push_back("Cancel");
    EXPECT_EQ(importText(shared.fileBytes()), std::nullopt);
    EXPECT_EQ(rig.dialogs.alerts.at(0).message, "This wheel can run custom actions");
    EXPECT_FALSE(fs::exists(rig.icons));
    EXPECT_EQ(rig.store->config().wheels.size(), 4u);

    Config newer = rig.store->config();
    newer.version = Config::currentVersion + 1;
    writeText(rig.paths.config, writeConfigFile(newer));
    rig.reopen();
    rig.dialogs.alerts.clear();
    EXPECT_EQ(importText(shared.fileBytes()), std::nullopt);
    EXPECT_EQ(rig.dialogs.openPanels.size(), 1u); // only the first import's
    EXPECT_EQ(
        rig.alertMessages(),
        std::vector<std::string>{"Import Unavailable / Rondelix is read-only because the on-disk config is "
                                 "from a newer version. Update the app to import wheels."});
}
