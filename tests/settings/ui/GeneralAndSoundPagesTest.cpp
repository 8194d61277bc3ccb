#include "app/SettingsPorts.h"
#include "settings/ui/GeneralPage.h"
#include "settings/ui/SettingsPageRig.h"
#include "settings/ui/SoundFeedbackPage.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace rondelix {
namespace {

class GeneralPageTest : public testsupport::SettingsPageTest {
  protected:
    GeneralPageTest() {
        show(new GeneralPage(rig.c().transferServices(), generalShellHooks(rig.c()), nullptr));
    }
};

TEST_F(GeneralPageTest, LaunchAtLoginIsOneChangeAndResetAsksFirst) {
    QTest::mouseClick(control<QCheckBox>("Launch at login"), Qt::LeftButton);
    EXPECT_TRUE(config().general.launchAtLogin);
    EXPECT_EQ(rig.loginItems.requests(), (std::vector<bool>{true}));
    EXPECT_EQ(changes, 1);
    // No switch that could never act: a line says where updates come from.
    EXPECT_EQ(page->findChildren<QCheckBox*>().size(), 1);
    const auto* updates = page->findChild<QLabel*>("updatesFromSystem");
    ASSERT_TRUE(updates);
    EXPECT_EQ(updates->text(), "Updates come from your system's package manager.");
    expectSymbol("exportConfig", "square.and.arrow.up");
    expectSymbol("importConfig", "square.and.arrow.down");
    expectSymbol("resetToDefaults", "arrow.counterclockwise");
    saveScreenshot("settings-general.png");

    rig.c().unlockDevMenu();
    rig.dialogs.alertAnswers = {"Cancel"};
    QTest::mouseClick(control<QPushButton>("resetToDefaults"), Qt::LeftButton);
    EXPECT_EQ(changes, 1);
    rig.dialogs.alertAnswers = {"Reset"};
    QTest::mouseClick(control<QPushButton>("resetToDefaults"), Qt::LeftButton);
    EXPECT_FALSE(config().general.launchAtLogin);
    EXPECT_FALSE(control<QCheckBox>("Launch at login")->isChecked());
    EXPECT_FALSE(rig.c().devMenuUnlocked());
}

TEST_F(GeneralPageTest, ExportWritesTheFileTheUserPicks) {
    const auto file = rig.home.path / "mine.json";
    rig.dialogs.saveLocations = {file};
    QTest::mouseClick(control<QPushButton>("exportConfig"), Qt::LeftButton);
    EXPECT_NE(testing::readText(file).find("\"bindings\""), std::string::npos);
    EXPECT_EQ(changes, 0);
}

class SoundFeedbackPageTest : public testsupport::SettingsPageTest {
  protected:
    SoundFeedbackPageTest() {
        const auto folder = rig.home.path / "sounds";
        for (const char* name : {"Bell", "Pop", "Tink"})
            testing::writeText(folder / (std::string(name) + ".oga"), "");
        rig.sounds.folders = {folder.string()};
        rig.sounds.available = {"Bell", "Pop", "Tink"};
        show(new SoundFeedbackPage(rig.c().configStore(), rig.c().feedback(), rig.sounds, nullptr));
    }
};

TEST_F(SoundFeedbackPageTest, ChoosingASoundStoresAndPlaysItAndTheSwitchHidesTheRows) {
    auto* aim = control<QComboBox>("Aim sound");
    EXPECT_EQ(aim->currentText(), "Tink");
    aim->activated(0);
    EXPECT_EQ(config().behavior.aimSoundName, "Bell");
    EXPECT_EQ(rig.sounds.plays().back().name, "Bell");
    control<QSlider>("Volume")->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_DOUBLE_EQ(config().behavior.soundVolume, 0.95);
    EXPECT_FALSE(control<QCheckBox>("Haptic feedback")->isEnabled());
    expectSymbol("Aim sound preview", "play.circle");
    saveScreenshot("settings-sound-feedback.png");

    QTest::mouseClick(control<QCheckBox>("Sound effects"), Qt::LeftButton);
    finishMotion();
    EXPECT_FALSE(isShown("Volume"));
    EXPECT_FALSE(isShown("Aim sound"));
    EXPECT_DOUBLE_EQ(config().behavior.soundVolume, 0.95);
    EXPECT_EQ(changes, 3);
}

TEST_F(SoundFeedbackPageTest, AMissingSoundShowsNoSelectionAndPreviewsTheBeep) {
    rig.c().configStore().mutate([](Config& c) { c.behavior.fireSoundName = "Gone"; });
    EXPECT_EQ(control<QComboBox>("Fire sound")->currentIndex(), -1);
    QTest::mouseClick(control<QToolButton>("Fire sound preview"), Qt::LeftButton);
    EXPECT_EQ(rig.sounds.beeps, 1);
}

// With a desktop sound theme beside the program's own sounds, a picker lists
// readable titles in one list sorted whatever the case, and opens a list a
// dozen rows high rather than one as tall as the screen.
class SoundPickerTest : public testsupport::SettingsPageTest {};

TEST_F(SoundPickerTest, ListsReadableTitlesInOneBoundedList) {
    const auto folder = rig.home.path / "theme-and-own";
    std::vector<std::string> names{"Bottle", "Tink", "alarm-clock-elapsed", "audio-channel-front-center",
                                   "bell"};
    for (int i = 0; i < 40; ++i)
        names.push_back("theme-sound-" + std::to_string(100 + i));
    for (const std::string& name : names)
        testing::writeText(folder / (name + ".oga"), "");
    rig.sounds.folders = {folder.string()};
    show(new SoundFeedbackPage(rig.c().configStore(), rig.c().feedback(), rig.sounds, nullptr));
    auto* aim = control<QComboBox>("Aim sound");
    QStringList shown;
    for (int i = 0; i < aim->count(); ++i)
        shown << aim->itemText(i);
    EXPECT_EQ(shown.mid(0, 5), (QStringList{"Alarm Clock Elapsed", "Audio Channel Front Center", "Bell",
                                            "Bottle", "Theme Sound 100"}));
    EXPECT_EQ(shown.last(), "Tink");

    aim->showPopup();
    QWidget* popup = aim->view()->window();
    EXPECT_LE(popup->height(), 13 * aim->view()->sizeHintForRow(0) + 2 * popup->contentsMargins().top() + 8);
    saveScreenshot("sound-picker-popup.png", popup);
    aim->hidePopup();
}

} // namespace
} // namespace rondelix
