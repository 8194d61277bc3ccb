#include "settings/DemoControl.h"
#include "settings/DevelopmentDefaults.h"
#include "settings/ui/AboutPage.h"
#include "settings/ui/ChangelogSheet.h"
#include "settings/ui/DevelopmentPage.h"
#include "settings/ui/SettingsPageRig.h"
#include "settings/ui/SpinningLogoView.h"
#include "support/WidgetsShownWhole.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

namespace rondelix {
namespace {

using testsupport::SettingsPageTest;

// The titles of the page's buttons that contain the word, joined.
std::string buttonsTitled(QWidget& page, const QString& word) {
    QStringList titles;
    for (QPushButton* button : page.findChildren<QPushButton*>())
        if (button->text().contains(word)) titles << button->text();
    return titles.join(", ").toStdString();
}

struct RecordingDemo {
    DemoControl control() {
        return {[this] { return running; },
                [this](const std::string& scene) {
                    scenes.push_back(scene);
                    running = true;
                    runningChanged.emit();
                },
                [this] {
                    ++cancels;
                    running = false;
                    runningChanged.emit();
                },
                runningChanged};
    }
    bool running = false;
    std::vector<std::string> scenes;
    int cancels = 0;
    Signal<> runningChanged;
};

class DevelopmentPageTest : public SettingsPageTest {
  protected:
    DevelopmentPage* open(std::optional<DemoControl> demo = std::nullopt) {
        auto& c = rig.c();
        DevelopmentPage::Services services{
            c.configStore(),
            rig.defaults,
            rig.workspace,
            {rig.queue, rig.background, rig.pasteboard, rig.processes, rig.workspace, rig.log},
            {[] { return std::string("report __SHORTCUTS__"); }, [] { return std::string("log"); },
             [] { return std::string("count=0;"); }, "0.1.0", rig.home.path},
            {rig.queue, [&c] { return c.configStore().config(); }, [](std::size_t) { return std::size_t{0}; },
             [] {}, [this](const MacroAction&) { ++fired; }},
            std::move(demo),
            [&c] { c.resetOnboarding(); },
            [&c] { c.relockDevMenu(); }};
        auto* made = new DevelopmentPage(std::move(services), nullptr);
        show(made);
        return made;
    }
    QString text(const QString& name) { return control<QAbstractButton>(name)->text(); }
    int fired = 0;
};

TEST_F(DevelopmentPageTest, DiagnosticsButtonsFollowTheirStatesAndWaitForEachOther) {
    open();
    control<QPushButton>("copyDiagnostics")->click();
    EXPECT_EQ(text("copyDiagnostics"), "Gathering…");
    EXPECT_FALSE(control<QPushButton>("emailDiagnostics")->isEnabled());
    rig.background.runAll();
    rig.queue.runPending();
    EXPECT_EQ(text("copyDiagnostics"), "Copied");
    EXPECT_TRUE(control<QPushButton>("emailDiagnostics")->isEnabled());
    expectSymbol("emailDiagnostics", "envelope");
    EXPECT_EQ(rig.pasteboard.text(), "report count=0;\n--- Recent logs (last 10 min) ---\nlog");
    rig.queue.advance(2);
    EXPECT_EQ(text("copyDiagnostics"), "Copy Diagnostics");

    // No mail program at all: the page says so and where the report is.
    rig.workspace.linksOpen = false;
    control<QPushButton>("emailDiagnostics")->click();
    rig.background.runAll();
    rig.queue.runPending();
    rig.processes.finish(rig.processes.children().size() - 1, 3);
    rig.queue.runPending();
    EXPECT_EQ(text("emailDiagnostics"), "No mail program opened");
    auto* note = control<QLabel>("unsentReport");
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text().toStdString(), "No mail program opened. The report is in " +
                                              (rig.home.path / "Rondelix-Diagnostics-0.1.0.txt").string() +
                                              ".");
    saveScreenshot("development-page.png");
}

TEST_F(DevelopmentPageTest, ExperimentsActOnTheConfigurationAndTheDemo) {
    RecordingDemo demo;
    open(demo.control());
    auto* caret = control<QCheckBox>("textCaret");
    caret->click();
    EXPECT_EQ(config().behavior.position, Behavior::Position::textCaret);
    EXPECT_EQ(rig.defaults.get(DevelopmentDefaults::positionBeforeTextCaret), "cursor");
    caret->click();
    EXPECT_EQ(config().behavior.position, Behavior::Position::cursor);

    control<QPushButton>("roulette")->click();
    EXPECT_EQ(text("roulette"), "Spinning…");
    EXPECT_FALSE(control<QPushButton>("roulette")->isEnabled());
    rig.queue.advance(0.8);
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(control<QLabel>("rouletteResult")->isVisibleTo(page.get()));
    EXPECT_TRUE(control<QLabel>("rouletteResult")->text().startsWith("Fired "));
    // Drawn while the button was still disabled, the icon greys only while it is.
    expectSymbol("roulette", "dice.fill");

    EXPECT_EQ(text("demo"), "Play Demo Choreography");
    control<QPushButton>("demo")->click();
    EXPECT_EQ(demo.scenes, std::vector<std::string>{"all"});
    EXPECT_EQ(text("demo"), "Stop Demo");
    control<QPushButton>("demo")->click();
    EXPECT_EQ(demo.cancels, 1);
    EXPECT_EQ(text("demo"), "Play Demo Choreography");
    page.reset(); // before the demo it watches
}

// The program does not update itself: the Updates section is the one line
// saying where updates come from, with no check or install that never acts.
TEST_F(DevelopmentPageTest, TheUpdatesSectionSaysWhereUpdatesComeFrom) {
    open();
    EXPECT_EQ(buttonsTitled(*page, "Update"), "");
    const auto* line = page->findChild<QLabel*>("updatesFromSystem");
    ASSERT_TRUE(line);
    EXPECT_TRUE(line->isVisibleTo(page.get()));
    EXPECT_EQ(line->text(), "Updates come from your system's package manager.");
    saveScreenshot("development-updates.png");
}

TEST_F(DevelopmentPageTest, WithoutADemoItsButtonWaitsAndRelockLeavesForAbout) {
    rig.c().unlockDevMenu();
    rig.c().setMainTab(MainTab::development);
    open();
    EXPECT_FALSE(control<QPushButton>("demo")->isEnabled());
    EXPECT_FALSE(control<QLabel>("restoreResult")->isVisibleTo(page.get()));
    control<QPushButton>("relock")->click();
    EXPECT_EQ(rig.c().mainTab(), MainTab::about);
    EXPECT_FALSE(rig.c().devMenuUnlocked());
}

// Each result line of the page shows whole, however many lines it takes.
TEST_F(DevelopmentPageTest, EveryStatusLineShowsWhole) {
    open();
    rig.c().configStore().mutate([](Config& c) { c.behavior.wheelSize = 300; }); // a save makes a backup
    rig.c().configStore().mutate([](Config& c) { c.behavior.wheelSize = 320; });
    control<QPushButton>("restoreFromBackup")->click();
    control<QPushButton>("roulette")->click();
    rig.queue.advance(0.8);
    QApplication::processEvents();
    EXPECT_EQ(control<QLabel>("restoreResult")->text(), "Restored from config.json.bak.");
    saveScreenshot("development-status-lines.png");
    EXPECT_EQ(testsupport::partlyShown(*page).join("\n").toStdString(), "");
}

class AboutPageTest : public SettingsPageTest {
  protected:
    AboutPage* open(std::string version = "0.1.0") {
        auto& c = rig.c();
        auto* made =
            new AboutPage({rig.queue, rig.pasteboard, rig.workspace, [&c] { return c.devMenuUnlocked(); },
                           [&c] { c.unlockDevMenu(); }, [&c] { c.showHowItWorks(); }, std::move(version),
                           "Debian 12", "~/.config/rondelix"},
                          nullptr);
        show(made);
        return made;
    }
};

// The program does not update itself: the page says where updates come from
// in place of a button that could never run.
TEST_F(AboutPageTest, SaysWhereUpdatesComeFromInsteadOfADeadButton) {
    open();
    EXPECT_TRUE(isShown("updatesFromSystem"));
    EXPECT_EQ(control<QLabel>("updatesFromSystem")->text(),
              "Updates come from your system's package manager.");
    EXPECT_EQ(buttonsTitled(*page, "Update"), "");
}

TEST_F(AboutPageTest, ShowsTheVersionCopiesTheAddressAndSendsFeedback) {
    open("");
    // Every wrapped line of the privacy box shows.
    EXPECT_EQ(testsupport::partlyShown(*page).filter("has no room").join("\n").toStdString(), "");
    EXPECT_EQ(control<QPushButton>("versionButton")->text(), "Version ?");
    // It reads in the secondary colour, lighter than the text colour.
    const QImage version = control<QPushButton>("versionButton")->grab().toImage();
    int darkest = 255;
    for (int y = 0; y < version.height(); ++y)
        for (int x = 0; x < version.width(); ++x)
            darkest = std::min(darkest, version.pixelColor(x, y).lightness());
    EXPECT_GT(darkest, page->palette().color(QPalette::WindowText).lightness() + 30);

    control<QPushButton>("copySupport")->click();
    EXPECT_EQ(rig.pasteboard.text(), "support@rondelix.app");
    EXPECT_EQ(control<QPushButton>("copySupport")->text(), "Copied support@rondelix.app");
    rig.queue.advance(1);
    control<QPushButton>("copySupport")->click();
    rig.queue.advance(1); // the first press's reset
    EXPECT_EQ(control<QPushButton>("copySupport")->text(), "Copy support email");

    control<QPushButton>("sendFeedback")->click();
    ASSERT_EQ(rig.workspace.openedLinks.size(), 1u);
    EXPECT_EQ(rig.workspace.openedLinks[0].rfind(
                  "mailto:support@rondelix.app?subject=Rondelix%20%3F%20feedback", 0),
              0u);
    control<QPushButton>("howItWorks")->click();
    EXPECT_TRUE(rig.windows.state(AppWindows::Kind::howItWorks).exists);
    saveScreenshot("about-page.png");
}

TEST_F(AboutPageTest, AFrenzyUnlocksTheDevelopmentPageOnceWithAToast) {
    AboutPage* about = open();
    about->logo().motion().onFrenzy();
    EXPECT_TRUE(rig.c().devMenuUnlocked());
    EXPECT_TRUE(about->toastShown());
    rig.queue.advance(2.6);
    EXPECT_FALSE(about->toastShown());
    about->logo().motion().onFrenzy();
    EXPECT_FALSE(about->toastShown()); // already unlocked
    rig.c().relockDevMenu();
    about->logo().motion().onFrenzy();
    EXPECT_TRUE(rig.c().devMenuUnlocked());
    EXPECT_TRUE(about->toastShown());
}

TEST_F(AboutPageTest, TheChangelogSheetListsEveryReleaseAndCloses) {
    open();
    control<QPushButton>("versionButton")->click();
    auto* sheet = page->findChild<ChangelogSheet*>();
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->isVisible());
    const auto labels = sheet->findChildren<QLabel*>();
    const auto count = std::count_if(labels.begin(), labels.end(),
                                     [](QLabel* l) { return l->text() == "0.3.0" || l->text() == "0.1.0"; });
    EXPECT_EQ(count, 4);
    const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
    EXPECT_TRUE(sheet->grab().save(folder + "/changelog-sheet.png"));
    auto* scroll = sheet->findChild<QScrollArea*>()->verticalScrollBar();
    scroll->setValue(scroll->maximum());
    EXPECT_TRUE(sheet->grab().save(folder + "/changelog-sheet-end.png"));
    for (QPushButton* b : sheet->findChildren<QPushButton*>())
        if (b->text() == "&Done") b->click();
    EXPECT_FALSE(sheet->isVisible());
}

} // namespace
} // namespace rondelix
