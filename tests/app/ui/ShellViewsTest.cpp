#include "app/ui/MainWindow.h"
#include "app/ui/QtAppWindows.h"
#include "app/ui/SideWindow.h"
#include "app/ui/SidebarFooter.h"
#include "app/ui/TrayMenu.h"
#include "engine/PermissionsCheck.h"
#include "model/WheelState.h"
#include "support/CoordinatorRig.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGraphicsOpacityEffect>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testsupport::CoordinatorRig;
using Kind = AppWindows::Kind;

QStringList rowTexts(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

class ShellViewsTest : public ::testing::Test {
  protected:
    ShellViewsTest() {
        rig.open(rig.platform(&windows));
        windows.attach(rig.c());
    }
    ~ShellViewsTest() override { windows.destroyAll(); }

    QListWidget* sidebar() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* list = w->findChild<QListWidget*>("sidebar"); list && w->isVisible()) return list;
        return nullptr;
    }
    QWidget* topLevel(const QString& title) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->windowTitle() == title && w->isVisible()) return w;
        return nullptr;
    }

    QtAppWindows windows;
    CoordinatorRig rig;
};

TEST_F(ShellViewsTest, SidebarListsThePagesAndFollowsTheCoordinator) {
    rig.c().showMain(MainTab::gallery);
    QListWidget* list = sidebar();
    ASSERT_TRUE(list);
    EXPECT_EQ(rowTexts(*list), (QStringList{"My Wheels", "Wheel Gallery", "Settings", "General", "Bindings",
                                            "Wheel Behavior", "Appearance", "Sound & Feedback", "About"}));
    EXPECT_EQ(list->currentItem()->text(), "Wheel Gallery");
    EXPECT_EQ(list->item(2)->flags(), Qt::NoItemFlags); // the section heading

    list->setCurrentRow(4);
    EXPECT_EQ(rig.c().mainTab(), MainTab::shortcuts);
    rig.c().unlockDevMenu();
    EXPECT_EQ(list->item(list->count() - 1)->text(), "Development");
    rig.c().setMainTab(MainTab::about);
    EXPECT_EQ(list->currentItem()->text(), "About");
}

TEST_F(ShellViewsTest, ClosingTheMainWindowHidesItAndForgetsTheUndoSteps) {
    rig.c().showMain(MainTab::wheels);
    rig.c().configStore().editWheels(std::nullopt, [](std::vector<Wheel>& w) { w.front().name = "Edited"; });
    QWidget* main = topLevel("Rondelix");
    ASSERT_TRUE(main);
    main->close();
    EXPECT_FALSE(rig.c().configStore().canUndo());
    EXPECT_TRUE(windows.state(Kind::main).exists);
    EXPECT_FALSE(windows.state(Kind::main).visible);
    rig.c().showMain(MainTab::about);
    EXPECT_EQ(topLevel("Rondelix"), main); // the same window, reused
}

TEST_F(ShellViewsTest, WithoutATrayTheMainWindowSaysClosingLeavesTheProgramRunning) {
    windows.setTrayShown(false);
    rig.c().showMain(MainTab::wheels);
    auto* note = windows.mainWindow()->findChild<QLabel*>("keepsRunningNote");
    ASSERT_TRUE(note);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(note->text(),
              "Rondelix keeps running when you close this window: hold your summon keys to open a "
              "wheel; start Rondelix again to come back here.");
    windows.setTrayShown(true);
    EXPECT_FALSE(note->isVisible());
}

TEST_F(ShellViewsTest, SideWindowsCarryTheirTitlesAndOnlyAUserCloseCounts) {
    rig.c().showOnboarding(OnboardingStep::welcome);
    ASSERT_TRUE(topLevel("Welcome to Rondelix"));
    rig.c().showOnboarding(OnboardingStep::permissions); // replaced by the program
    EXPECT_TRUE(windows.state(Kind::onboarding).exists);

    int dismissals = 0;
    windows.onSideWindowClosed = [&, forward = windows.onSideWindowClosed](Kind kind, bool byUser) {
        dismissals += kind == Kind::onboarding && byUser;
        forward(kind, byUser);
    };
    rig.c().finishOnboarding(false); // the program's own close
    EXPECT_FALSE(windows.state(Kind::onboarding).exists);
    EXPECT_EQ(dismissals, 0);

    rig.c().showOnboarding(OnboardingStep::welcome);
    topLevel("Welcome to Rondelix")->close();
    EXPECT_EQ(dismissals, 1);
    EXPECT_FALSE(windows.state(Kind::onboarding).exists);

    rig.c().showShortcutSetup(std::nullopt);
    rig.c().showHowItWorks();
    EXPECT_TRUE(topLevel("System Action Setup"));
    EXPECT_TRUE(topLevel("How Rondelix Works"));
}

TEST_F(ShellViewsTest, NewWindowsOpenInTheMiddleOfTheScreenWithTheirTopLeftOnIt) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Along each axis: centred when the window fits, else from the screen's edge.
    const auto placed = [&](const QWidget* w) {
        const QRect g = w->frameGeometry();
        const bool across = g.width() <= screen.width() ? std::abs(g.center().x() - screen.center().x()) <= 1
                                                        : g.left() == screen.left();
        const bool down = g.height() <= screen.height() ? std::abs(g.center().y() - screen.center().y()) <= 1
                                                        : g.top() == screen.top();
        return across && down;
    };
    rig.c().showMain(MainTab::general);
    rig.c().showShortcutSetup(std::nullopt);
    ASSERT_TRUE(topLevel("Rondelix") && topLevel("System Action Setup"));
    EXPECT_TRUE(placed(topLevel("Rondelix")));
    EXPECT_TRUE(placed(topLevel("System Action Setup")));
}

QAction* findAction(const QMenuBar& bar, const QString& menu, const QString& item) {
    for (QAction* top : bar.actions())
        if (top->menu() && top->menu()->title() == menu)
            for (QAction* action : top->menu()->actions())
                if (action->text() == item) return action;
    return nullptr;
}

TEST_F(ShellViewsTest, TheMenusCarryTheirKeysAndEditReachesTheFocusedField) {
    rig.c().showMain(MainTab::wheels);
    rig.c().showMain(MainTab::wheels);
    MainWindow* main = windows.mainWindow();
    ASSERT_TRUE(main);
    QStringList titles;
    for (QAction* top : main->menuBar().actions())
        titles << top->text();
    EXPECT_EQ(titles, (QStringList{"Rondelix", "Edit"})); // added once, after the program's menu

    struct Row {
        const char *menu, *item, *keys;
    };
    for (const Row& row : {Row{"Rondelix", "Settings…", "Ctrl+,"}, Row{"Rondelix", "Quit Rondelix", "Ctrl+Q"},
                           Row{"Edit", "Undo", "Ctrl+Z"}, Row{"Edit", "Redo", "Ctrl+Shift+Z"},
                           Row{"Edit", "Cut", "Ctrl+X"}, Row{"Edit", "Copy", "Ctrl+C"},
                           Row{"Edit", "Paste", "Ctrl+V"}, Row{"Edit", "Select All", "Ctrl+A"}}) {
        QAction* action = findAction(main->menuBar(), row.menu, row.item);
        ASSERT_TRUE(action) << row.item;
        EXPECT_EQ(action->shortcut(), QKeySequence(row.keys)) << row.item;
    }

    auto* field = new QLineEdit("wheel name", main);
    field->show();
    field->setFocus();
    QApplication::setActiveWindow(main);
    ASSERT_EQ(QApplication::focusWidget(), field);
    findAction(main->menuBar(), "Edit", "Select All")->trigger();
    EXPECT_EQ(field->selectedText(), "wheel name");
    findAction(main->menuBar(), "Edit", "Cut")->trigger();
    EXPECT_EQ(field->text(), "");
    findAction(main->menuBar(), "Edit", "Undo")->trigger();
    EXPECT_EQ(field->text(), "wheel name");

    // Alt and Super let go with nothing between is a tap that opens the
    // menus; as the chord of a summon it is not.
    for (const bool summoned : {false, true}) {
        field->setFocus();
        QTest::keyPress(field, Qt::Key_Alt, Qt::AltModifier);
        QTest::keyPress(field, Qt::Key_Meta, Qt::AltModifier | Qt::MetaModifier);
        rig.c().wheelState().setVisible(summoned);
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Meta, Qt::AltModifier);
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Alt, Qt::NoModifier);
        rig.c().wheelState().setVisible(false);
        EXPECT_EQ(QApplication::focusWidget() == field, summoned) << summoned;
    }

    findAction(main->menuBar(), "Rondelix", "Settings…")->trigger();
    EXPECT_EQ(rig.c().mainTab(), MainTab::appearance);
    QAction* closeWindow = nullptr;
    for (QAction* action : main->actions())
        if (action->shortcut() == QKeySequence("Ctrl+W")) closeWindow = action;
    ASSERT_TRUE(closeWindow);
    closeWindow->trigger();
    EXPECT_FALSE(windows.state(Kind::main).visible);
}

TEST_F(ShellViewsTest, WheelPagesAreKeptAndOtherPagesAreMadeOnEntry) {
    std::map<MainTab, int> made;
    const auto pages = [&made](MainTab tab) -> PageFactory {
        return [&made, tab](AppCoordinator&, QWidget* parent) {
            ++made[tab];
            return new QWidget(parent);
        };
    };
    rig.c().setMainTab(MainTab::wheels);
    MainWindow main(rig.c(), {}, pages);
    QPointer<QWidget> wheels = main.currentPage();
    for (MainTab tab : {MainTab::gallery, MainTab::wheels, MainTab::gallery, MainTab::about, MainTab::general,
                        MainTab::about, MainTab::wheels})
        rig.c().setMainTab(tab);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(made,
              (std::map<MainTab, int>{
                  {MainTab::wheels, 1}, {MainTab::gallery, 1}, {MainTab::about, 2}, {MainTab::general, 1}}));
    EXPECT_EQ(main.currentPage(), wheels.data());

    // Unlocking Development from the About page lists one more row and
    // leaves the page, its toast and its spinning mark, as it is.
    rig.c().setMainTab(MainTab::about);
    QPointer<QWidget> about = main.currentPage();
    rig.c().unlockDevMenu();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(main.currentPage(), about.data());
    EXPECT_EQ(made[MainTab::about], 3);
}

TEST_F(ShellViewsTest, AWindowTooLargeForTheScreenIsFittedAndNotRemembered) {
    rig.c().showMain(MainTab::wheels);
    MainWindow* main = windows.mainWindow();
    const QSize available = main->screen()->availableGeometry().size();
    ASSERT_LT(available.width(), 1440); // the offscreen screen is small
    EXPECT_LE(main->width(), available.width());
    EXPECT_LE(main->height(), available.height());
    EXPECT_LE(main->minimumWidth(), available.width());
    rig.c().setMainTab(MainTab::general);
    rig.c().setMainTab(MainTab::wheels);
    QCoreApplication::processEvents();
    EXPECT_FALSE(rig.defaults.hasStoredValue("WindowSize.wheels"));
    EXPECT_FALSE(rig.defaults.hasStoredValue("WindowSize.settings"));
}

TEST_F(ShellViewsTest, TheFooterPillLeadsToWhatIsMissing) {
    struct Row {
        bool accessibility;
        bool listen;
        const char* opens;
        FooterStatus status;
    };
    for (const Row& row : {Row{true, false, "Welcome to Rondelix", FooterStatus::permissionsNeeded},
                           Row{true, true, "Welcome to Rondelix", FooterStatus::ready}}) {
        rig.permissions.accessibility = row.accessibility;
        rig.permissions.listen = row.listen;
        rig.c().permissions().refresh();
        rig.c().showMain(MainTab::wheels);
        SidebarFooter& footer = windows.mainWindow()->footer();
        EXPECT_EQ(footer.pill().status(), row.status);
        footer.activate();
        EXPECT_TRUE(topLevel(row.opens)) << row.opens;
        rig.c().finishOnboarding(false);
    }
    rig.c().showShortcutSetup(std::nullopt);
    EXPECT_TRUE(windows.mainWindow()->footer().pill().facts().shortcutSetupOpen);
}

// While the ready pill fades it is shown from one drawing of it; what it
// says when that changes still reaches the screen.
TEST_F(ShellViewsTest, TheFadingPillShowsWhatItSaysNow) {
    rig.permissions.accessibility = true;
    rig.permissions.listen = true;
    rig.c().permissions().refresh();
    rig.c().showMain(MainTab::wheels);
    SidebarFooter& footer = windows.mainWindow()->footer();
    auto* fade = qobject_cast<QGraphicsOpacityEffect*>(footer.graphicsEffect());
    ASSERT_TRUE(fade);
    fade->setOpacity(0.6);
    const QImage ready = footer.grab().toImage();
    EXPECT_EQ(footer.grab().toImage(), ready);

    rig.permissions.listen = false;
    rig.c().permissions().refresh();
    ASSERT_EQ(footer.pill().status(), FooterStatus::permissionsNeeded);
    fade->setOpacity(0.6);
    EXPECT_NE(footer.grab().toImage(), ready);
}

TEST_F(ShellViewsTest, FlippingGlassChangesEveryOpenWindowAtOnce) {
    std::vector<std::pair<QWidget*, bool>> blurs;
    QtAppWindows glassy({true, [&](QWidget& w, bool on) { blurs.emplace_back(&w, on); }});
    CoordinatorRig other;
    other.open(other.platform(&glassy));
    glassy.attach(other.c());
    other.c().showMain(MainTab::general);
    other.c().showHowItWorks();
    MainWindow* main = glassy.mainWindow();
    SideWindow* guide = glassy.sideWindow(Kind::howItWorks);
    ASSERT_TRUE(main && guide);
    EXPECT_TRUE(main->testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_FALSE(main->backdrop().translucent());

    other.c().configStore().mutate([](Config& c) { c.behavior.liquidGlassEnabled = true; });
    EXPECT_TRUE(main->backdrop().translucent());
    EXPECT_TRUE(guide->backdrop().translucent());
    EXPECT_TRUE(std::count(blurs.begin(), blurs.end(), std::pair<QWidget*, bool>{main, true}));
    EXPECT_TRUE(std::count(blurs.begin(), blurs.end(), std::pair<QWidget*, bool>{guide, true}));
    QImage shot(main->size(), QImage::Format_ARGB32);
    shot.fill(Qt::transparent);
    main->render(&shot, {}, {}, QWidget::DrawWindowBackground);
    EXPECT_NEAR(qAlpha(shot.pixel(main->width() - 2, main->height() - 2)), 217, 2);
    glassy.destroyAll();

    // Without a compositor nothing can show through.
    rig.c().configStore().mutate([](Config& c) { c.behavior.liquidGlassEnabled = true; });
    rig.c().showMain(MainTab::general);
    EXPECT_FALSE(windows.mainWindow()->backdrop().translucent());
}

TEST_F(ShellViewsTest, TrayMenuShowsTheRowsAndActsOnThem) {
    int quits = 0;
    TrayMenu tray(rig.c(), [&] { ++quits; });
    const auto actions = tray.menu()->actions();
    EXPECT_FALSE(actions[9]->isEnabled());
    EXPECT_EQ(actions[4]->shortcut(), QKeySequence("Ctrl+,"));

    actions[0]->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(rig.c().paused());
    EXPECT_FALSE(rig.hud->visible); // the menu pauses without the HUD
    // The rows follow the change without the menu being opened again.
    EXPECT_EQ(tray.menu()->actions()[0]->text(), "Paused. The wheel won't open. Resumes when you relaunch.");
    EXPECT_FALSE(tray.menu()->actions()[0]->isEnabled());

    tray.menu()->actions().back()->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(quits, 1);
}

// The icon's most opaque pixel at the size a panel shows it.
QColor strongestPixel(const QIcon& icon) {
    const QImage image = icon.pixmap(24).toImage().convertToFormat(QImage::Format_ARGB32);
    QColor strongest(0, 0, 0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QColor pixel = image.pixelColor(x, y); pixel.alpha() > strongest.alpha())
                strongest = pixel;
    return strongest;
}

// The icon as a panel of that colour shows it, awake and paused, for people to look at.
void savePanel(const TrayMenu& awake, const QIcon& paused, const QColor& panel, const QString& name) {
    QImage strip(96, 32, QImage::Format_ARGB32);
    strip.fill(panel);
    QPainter painter(&strip);
    awake.icon().paint(&painter, QRect(12, 4, 24, 24));
    paused.paint(&painter, QRect(60, 4, 24, 24));
    painter.end();
    const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
    QDir().mkpath(folder);
    strip.scaled(strip.size() * 4).save(folder + "/" + name);
}

TEST_F(ShellViewsTest, TrayIconDrawsInThePanelsTextColourAndDimsWhilePaused) {
    const QPalette original = QApplication::palette();
    const struct {
        const char* panel;
        QColor panelColour;
        QColor paletteText;
        std::optional<QColor> trayText;
        QColor ink;
    } cases[] = {
        {"light", QColor(236, 236, 236), Qt::black, std::nullopt, Qt::black},
        {"dark", QColor(34, 34, 38), Qt::black, QColor(Qt::white), Qt::white},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.panel);
        QPalette palette = original;
        palette.setColor(QPalette::WindowText, c.paletteText);
        QApplication::setPalette(palette);
        TrayMenu tray(
            rig.c(), [] {}, [&] { return c.trayText; });
        EXPECT_EQ(strongestPixel(tray.icon()).rgba(), c.ink.rgba());

        rig.c().togglePause(false);
        const QIcon paused = tray.icon();
        EXPECT_EQ(strongestPixel(paused).rgb(), c.ink.rgb());
        EXPECT_NEAR(strongestPixel(paused).alpha(), 0.4 * 255, 2);
        rig.c().togglePause(false);
        savePanel(tray, paused, c.panelColour, QString("tray-icon-%1-panel.png").arg(c.panel));
    }
    // A new desktop theme redraws the icon in its text colour.
    TrayMenu tray(rig.c(), [] {});
    QPalette light = original;
    light.setColor(QPalette::WindowText, QColor(250, 250, 250));
    QApplication::setPalette(light);
    EXPECT_EQ(strongestPixel(tray.icon()).rgb(), QColor(250, 250, 250).rgb());
    QApplication::setPalette(original);
}

} // namespace
} // namespace rondelix
