#include "app/SettingsPorts.h"
#include "model/DefaultConfig.h"
#include "settings/BehaviorSettings.h"
#include "settings/GeneralSettings.h"
#include "settings/SoundSettings.h"
#include "support/CoordinatorRig.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testsupport::CoordinatorRig;

class GeneralSettingsTest : public ::testing::Test {
  protected:
    GeneralSettingsTest() {
        rig.c().configStore().configChanged.connect([this] { steps.push_back("config"); });
    }
    CoordinatorRig rig;
    AppCoordinator& coordinator = rig.open();
    std::vector<std::string> steps;
    GeneralSettings general{
        coordinator.transferServices(),
        {[this] { steps.push_back("window sizes"); }, [this] { steps.push_back("relock"); }}};
};

TEST_F(GeneralSettingsTest, LaunchAtLoginFollowsWhatTheSystemReallyDid) {
    general.setLaunchAtLogin(true);
    EXPECT_TRUE(general.launchAtLogin());
    EXPECT_EQ(rig.loginItems.requests().back(), true);

    rig.loginItems.failWith("not allowed");
    rig.loginItems.setStatus(platform::LoginItems::Status::enabled);
    general.setLaunchAtLogin(false);
    EXPECT_TRUE(general.launchAtLogin());
    EXPECT_TRUE(rig.log.contains("Rondelix: launch-at-login change failed: not allowed"));
    const ConfigStore& store = rig.c().configStore();
    EXPECT_EQ(store.launchAtLoginProblem(), "Couldn't turn off launch at login: not allowed");

    // The reason stays beside the switch until a change goes through.
    rig.loginItems.failWith(std::nullopt);
    general.setLaunchAtLogin(false);
    EXPECT_FALSE(store.launchAtLoginProblem());
}

TEST_F(GeneralSettingsTest, ResetAsksFirstThenResetsInOrder) {
    rig.c().configStore().mutate([](Config& c) { c.behavior.wheelSize = 400; });
    steps.clear();
    rig.dialogs.alertAnswers = {"Cancel"};
    general.confirmResetToDefaults();
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(rig.c().configStore().config().behavior.wheelSize, 400);

    rig.dialogs.alertAnswers = {"Reset"};
    general.confirmResetToDefaults();
    EXPECT_EQ(rig.dialogs.alerts.back(), GeneralSettings::resetAlert());
    EXPECT_EQ(rig.dialogs.alerts.back().buttons, (std::vector<std::string>{"Reset", "Cancel"}));
    EXPECT_EQ(steps, (std::vector<std::string>{"config", "window sizes", "relock"}));
    const Config& reset = rig.c().configStore().config();
    const Config factory = DefaultConfig::factoryConfig();
    EXPECT_EQ(reset.behavior, factory.behavior);
    const auto ids = [](const Config& c) {
        std::vector<std::string> names;
        for (const Wheel& w : c.wheels)
            names.push_back(w.id);
        return names;
    };
    EXPECT_EQ(ids(reset), ids(factory));
    EXPECT_EQ(reset.bindings.size(), factory.bindings.size());
}

TEST_F(GeneralSettingsTest, ADamagedImportChangesNothingAndSaysWhy) {
    const Config before = rig.c().configStore().config();
    const auto file = rig.home.path / "broken.json";
    testing::writeText(file, R"({"wheels": [ {"id": )");
    rig.dialogs.filesToOpen = {file};
    general.importConfig();
    EXPECT_EQ(rig.c().configStore().config(), before);
    ASSERT_FALSE(rig.dialogs.alerts.empty());
    EXPECT_EQ(rig.dialogs.alerts.back().message, "Import Failed");
}

class SoundSettingsTest : public ::testing::Test {
  protected:
    CoordinatorRig rig;
    AppCoordinator& coordinator = rig.open();
    SoundSettings sounds{coordinator.configStore(), coordinator.feedback(), {"Bell", "Pop", "Tink"}};
};

TEST_F(SoundSettingsTest, ChoosingStoresTheNameAndPlaysItOnce) {
    rig.sounds.available = {"Bell", "Pop", "Tink"};
    EXPECT_EQ(sounds.selection(SoundSettings::Sound::aim), 2);
    sounds.choose(SoundSettings::Sound::aim, 0);
    EXPECT_EQ(rig.c().configStore().config().behavior.aimSoundName, "Bell");
    ASSERT_EQ(rig.sounds.plays().size(), 1u);
    EXPECT_EQ(rig.sounds.plays().back().name, "Bell");
    sounds.choose(SoundSettings::Sound::fire, 7); // no such sound
    EXPECT_EQ(rig.c().configStore().config().behavior.fireSoundName, "Pop");
}

TEST_F(SoundSettingsTest, ANameNoSoundHasShowsNoSelectionAndPreviewsTheBeep) {
    rig.c().configStore().mutate([](Config& c) { c.behavior.fireSoundName = "Gone"; });
    EXPECT_EQ(sounds.selection(SoundSettings::Sound::fire), std::nullopt);
    sounds.preview(SoundSettings::Sound::fire);
    EXPECT_EQ(rig.sounds.beeps, 1);
    EXPECT_TRUE(rig.sounds.plays().empty());
}

TEST_F(SoundSettingsTest, VolumeRowsHideWithTheSwitchAndKeepTheirValue) {
    BehaviorSettings settings(rig.c().configStore());
    settings.setSliderStep(SoundSettings::volumeRow(), 18);
    EXPECT_EQ(settings.valueText(SoundSettings::volumeRow()), "90%");
    settings.setOn(SoundSettings::soundEffectsRow(), false);
    EXPECT_FALSE(settings.isShown(SoundSettings::volumeRow()));
    EXPECT_DOUBLE_EQ(rig.c().configStore().config().behavior.soundVolume, 0.9);
}

} // namespace
} // namespace rondelix
