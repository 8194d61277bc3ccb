#include "app/ui/MainWindow.h"
#include "app/ui/QtAppWindows.h"
#include "gallery/ui/AddWheelSheet.h"
#include "gallery/ui/GalleryBrowserPage.h"
#include "gallery/ui/GalleryListRow.h"
#include "model/DefaultConfig.h"
#include "overlay/ui/HUDWindow.h"
#include "overlay/ui/SliceIconSources.h"
#include "support/CoordinatorRig.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testsupport::CoordinatorRig;

const std::string readOnly = "This configuration was written by a newer Rondelix; changes can't be saved.";

// Something the user does in a window, and the line that must then say what
// did not happen.
struct Failure {
    std::string name; // also the screenshot's
    MainTab tab;
    bool newerFile = false;                      // the configuration was written by a newer build
    std::function<void(CoordinatorRig&)> before; // before the program starts
    std::function<void(CoordinatorRig&, QWidget& window)> act;
    std::string sentence; // "{home}" stands for the home folder; empty: no read-only line
};

// A visible widget with that text or name; a "*" in the text stands for any
// characters (a path the program chooses itself).
template <typename T> T* named(QWidget& window, const QString& text) {
    const QString pattern = QRegularExpression::escape(text).replace("\\*", ".*");
    const QRegularExpression whole(QRegularExpression::anchoredPattern(pattern));
    for (T* widget : window.findChildren<T*>())
        if (widget->isVisibleTo(&window) &&
            (whole.match(widget->text()).hasMatch() || widget->accessibleName() == text))
            return widget;
    return nullptr;
}

void click(QWidget& window, const QString& text) {
    auto* button = named<QAbstractButton>(window, text);
    ASSERT_TRUE(button) << text.toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
}

void addGalleryWheel(QWidget& window, const std::string& id) {
    auto* gallery = window.findChild<GalleryBrowserPage*>();
    ASSERT_TRUE(gallery);
    QTest::mouseClick(gallery->wheelButton(id), Qt::LeftButton);
    QTest::mouseClick(gallery->addButton(), Qt::LeftButton);
    ASSERT_TRUE(gallery->sheet());
    QTest::mouseClick(gallery->sheet()->addButton(), Qt::LeftButton);
}

std::vector<Failure> mainWindowFailures() {
    std::vector<Failure> failures;
    for (const auto& [name, tab] :
         std::vector<std::pair<std::string, MainTab>>{{"wheels", MainTab::wheels},
                                                      {"gallery", MainTab::gallery},
                                                      {"appearance", MainTab::appearance},
                                                      {"bindings", MainTab::shortcuts},
                                                      {"general", MainTab::general},
                                                      {"behavior", MainTab::wheelBehavior},
                                                      {"sound", MainTab::soundFeedback},
                                                      {"development", MainTab::development}})
        failures.push_back({"read-only-" + name, tab, true, nullptr, nullptr, readOnly});
    failures.push_back({"read-only-about", MainTab::about, true, nullptr, nullptr, ""});
    failures.push_back({"read-only-gallery-add", MainTab::gallery, true, nullptr,
                        [](CoordinatorRig&, QWidget& window) { addGalleryWheel(window, "gallery-slack"); },
                        "Added \u201CSlack\u201D to My Wheels until you quit: changes can't be saved"});
    failures.push_back({"read-only-restore", MainTab::development, true,
                        [](CoordinatorRig& rig) {
                            Config newer = DefaultConfig::factoryConfig();
                            newer.version = 99;
                            testing::writeText(rig.home.path / ".config/rondelix/config.json.bak",
                                               writeConfigFile(newer));
                        },
                        [](CoordinatorRig&, QWidget& window) { click(window, "Restore From Backup"); },
                        "Restored from config.json.bak until you quit: changes can't be saved."});
    failures.push_back(
        {"too-large-to-load", MainTab::wheels, false,
         [](CoordinatorRig& rig) {
             const auto file = rig.home.path / ".config/rondelix/config.json";
             testing::writeText(file, "{}");
             std::filesystem::resize_file(file, maxConfigFileBytes + 1);
         },
         nullptr,
         "config.json is too large to load (268.435457 MB; the most is 268.435456 MB), so Rondelix "
         "runs on the factory wheels and leaves the file as it is; changes can't be saved."});
    failures.push_back({"launch-at-login", MainTab::general, false,
                        [](CoordinatorRig& rig) {
                            rig.loginItems.failWith(rig.home.path.string() +
                                                    "/.config/autostart/rondelix.desktop: Permission denied");
                        },
                        [](CoordinatorRig&, QWidget& window) { click(window, "Launch at login"); },
                        "Couldn't turn on launch at login: {home}/.config/autostart/rondelix.desktop: "
                        "Permission denied"});
    failures.push_back({"send-feedback", MainTab::about, false,
                        [](CoordinatorRig& rig) { rig.workspace.linksOpen = false; },
                        [](CoordinatorRig&, QWidget& window) { click(window, "Send Feedback"); },
                        "No mail program opened. Write to support@rondelix.app instead."});
    failures.push_back(
        {"show-config", MainTab::development, false,
         [](CoordinatorRig& rig) { rig.workspace.linksOpen = false; },
         [](CoordinatorRig&, QWidget& window) { click(window, "Show config.json in File Manager"); },
         "No file manager opened. config.json is at {home}/.config/rondelix/config.json."});
    failures.push_back(
        {"show-config-folder", MainTab::development, false,
         [](CoordinatorRig& rig) { rig.workspace.reveals = platform::Revealed::folderOpened; },
         [](CoordinatorRig&, QWidget& window) { click(window, "Show config.json in File Manager"); },
         "Your file manager can't select a file, so it opened the folder that holds config.json."});
    failures.push_back({"damaged-picture", MainTab::wheels, false,
                        [](CoordinatorRig& rig) {
                            Config config = DefaultConfig::factoryConfig();
                            config.wheels.front().slices.push_back(Slice{Uuid::generate(), 0, "Photo",
                                                                         Icon::CustomImage{"kept.png"},
                                                                         MacroAction::Text{"hello"}});
                            rig.writeConfig(config);
                            testing::writeText(rig.home.path / "damaged.png", "not a picture");
                            rig.dialogs.filesToOpen.push_back(rig.home.path / "damaged.png");
                        },
                        [](CoordinatorRig& rig, QWidget& window) {
                            click(window, "Choose Image…");
                            rig.background.runAll();
                            rig.queue.runPending();
                        },
                        "That picture couldn't be used: it may be damaged, too large, or not a picture."});
    failures.push_back({"email-diagnostics", MainTab::development, false,
                        [](CoordinatorRig& rig) { rig.workspace.linksOpen = false; },
                        [](CoordinatorRig& rig, QWidget& window) {
                            click(window, "Email Diagnostics");
                            rig.background.runAll();
                            rig.queue.runPending();
                            rig.processes.finish(rig.processes.children().size() - 1, 3); // no composer
                        },
                        "No mail program opened. The report is in */Rondelix-Diagnostics-*.txt."});
    failures.push_back({"no-sound-device", MainTab::soundFeedback, false,
                        [](CoordinatorRig& rig) { rig.sounds.hasDevice = false; }, nullptr,
                        "No sound device was found, so Rondelix plays no sounds."});
    return failures;
}

// The program's windows over a simulated platform; the windows go first, as
// they use the coordinator, even when a case stops early.
struct Windows {
    SliceIconSources icons;
    QtAppWindows windows;
    CoordinatorRig rig;
    ~Windows() { windows.destroyAll(); }
};

std::string withHome(std::string text, const CoordinatorRig& rig) {
    for (auto at = text.find("{home}"); at != std::string::npos; at = text.find("{home}"))
        text.replace(at, 6, rig.home.path.string());
    return text;
}

void saveScreenshot(QWidget& window, const std::string& name) {
    const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
    QDir().mkpath(folder);
    EXPECT_TRUE(window.grab().save(folder + "/failure-" + QString::fromStdString(name) + ".png"));
}

// Each failure in the main window shows its sentence on the page the user
// acted on, and nothing there claims what did not happen.
TEST(WindowFailureSentences, TheMainWindowSaysWhatDidNotHappenWhereItHappened) {
    for (const Failure& failure : mainWindowFailures()) {
        SCOPED_TRACE(failure.name);
        Windows program;
        auto& [icons, windows, rig] = program;
        rig.defaults.set(DefaultsKeys::devMenuUnlocked, true);
        rig.screens.options.reduceMotion = true; // toasts show at once
        // The sound pickers list the sound folders once per run: the same
        // sounds as the Sound & Feedback page's own tests, whichever runs first.
        for (const char* sound : {"Bell", "Pop", "Tink"})
            testing::writeText(rig.home.path / "sounds" / (std::string(sound) + ".oga"), "");
        rig.sounds.folders = {(rig.home.path / "sounds").string()};
        rig.sounds.available = {"Bell", "Pop", "Tink"};
        if (failure.newerFile) {
            Config newer = DefaultConfig::factoryConfig();
            newer.version = 99;
            rig.writeConfig(newer);
        }
        if (failure.before) failure.before(rig);
        AppCoordinator::Platform platform = rig.platform(&windows);
        // The diagnostics report is written only into a folder of the user's own.
        platform.privateRuntimeFolder = rig.home.path / "runtime";
        std::filesystem::create_directories(*platform.privateRuntimeFolder);
        rig.open(platform);
        windows.attach(rig.c(), icons);
        rig.c().showMain(failure.tab);
        QWidget& window = *windows.mainWindow();
        window.resize(1100, 760);
        rig.background.runAll();
        rig.queue.runPending();
        if (failure.act) failure.act(rig, window);
        rig.queue.runPending();
        QApplication::processEvents();

        const QString readOnlyLine = QString::fromStdString(readOnly);
        if (failure.sentence.empty()) {
            EXPECT_FALSE(named<QLabel>(window, readOnlyLine));
        } else {
            const QString sentence = QString::fromStdString(withHome(failure.sentence, rig));
            const QLabel* line = named<QLabel>(window, sentence);
            ASSERT_TRUE(line) << sentence.toStdString();
            // Shown whole: a line cut to its first words hides the path or address it gives.
            if (line->wordWrap()) {
                EXPECT_GE(line->height(), line->heightForWidth(line->width()));
            }
            EXPECT_EQ(failure.newerFile, named<QLabel>(window, readOnlyLine) != nullptr);
        }
        saveScreenshot(window, failure.name);
    }
}

// The onboarding window on its last step, where launch at login is set.
QWidget* onboardingReadyStep(Windows& program) {
    program.rig.open(program.rig.platform(&program.windows));
    program.windows.attach(program.rig.c(), program.icons);
    program.rig.c().showOnboarding(OnboardingStep::ready);
    QApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == "Welcome to Rondelix" && w->isVisible()) return w;
    return nullptr;
}

// The onboarding's own launch-at-login switch: unticked again, with the reason
// under it, when the system refuses, and nothing said once it accepts. With a
// configuration written by a newer build, the line says that no change is kept.
TEST(WindowFailureSentences, TheOnboardingSaysWhyLaunchAtLoginStayedOff) {
    Windows program;
    auto& rig = program.rig;
    const std::string entry = rig.home.path.string() + "/.config/autostart/rondelix.desktop";
    rig.loginItems.failWith(entry + ": Read-only file system");
    QWidget* window = onboardingReadyStep(program);
    ASSERT_TRUE(window);

    auto* toggle = named<QCheckBox>(*window, "Launch at login");
    ASSERT_TRUE(toggle);
    const bool wasOn = toggle->isChecked();
    QTest::mouseClick(toggle, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(toggle->isChecked(), wasOn);
    const std::string sentence = std::string(wasOn ? "Couldn't turn off" : "Couldn't turn on") +
                                 " launch at login: " + entry + ": Read-only file system";
    EXPECT_TRUE(named<QLabel>(*window, QString::fromStdString(sentence))) << sentence;
    saveScreenshot(*window, "onboarding-launch-at-login");

    rig.loginItems.failWith(std::nullopt);
    QTest::mouseClick(toggle, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_NE(toggle->isChecked(), wasOn);
    EXPECT_FALSE(named<QLabel>(*window, QString::fromStdString(sentence)));

    program.windows.destroyAll();
    Windows newer;
    Config config = DefaultConfig::factoryConfig();
    config.version = 99;
    newer.rig.writeConfig(config);
    QWidget* readOnlyWindow = onboardingReadyStep(newer);
    ASSERT_TRUE(readOnlyWindow);
    EXPECT_TRUE(named<QLabel>(*readOnlyWindow, QString::fromStdString(readOnly)));
    saveScreenshot(*readOnlyWindow, "onboarding-read-only");
}

// The HUD never wraps: each sentence of a slice that failed from the wheel
// fits a small screen on one line, as the screenshots show.
TEST(WindowFailureSentences, TheHudSaysEachFailureOnOneLineThatFitsASmallScreen) {
    const std::vector<std::pair<std::string, std::string>> sentences{
        {"automation-failed", "Your automation exited with an error."},
        {"automation-missing", "That automation isn't installed."},
        {"script-failed", "Your script exited with an error."},
    };
    for (const auto& [name, sentence] : sentences) {
        HUDWindow bubble(false);
        const auto size = bubble.setContent(sentence, "exclamationmark.triangle.fill", "#FF9500");
        EXPECT_LE(size.width, 1024) << sentence; // a small screen
        saveScreenshot(bubble, "hud-" + name);
    }
}

} // namespace
} // namespace rondelix
