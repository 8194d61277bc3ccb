#include "app/ui/MainWindow.h"
#include "app/ui/QtAppWindows.h"
#include "app/ui/SideWindow.h"
#include "app/ui/SidebarFooter.h"
#include "app/ui/TrayMenu.h"
#include "engine/PermissionsCheck.h"
#include "gallery/ui/WheelWorkshopPage.h"
#include "model/WheelState.h"
#include "overlay/ui/SliceIconSources.h"
#include "platform/sim/SimDesktopAppearance.h"
#include "support/ContrastRatio.h"
#include "support/CoordinatorRig.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEasingCurve>
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
#include <cmath>
#include <gtest/gtest.h>
#include <set>

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
        windows.attach(rig.c(), icons);
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
    // The main window's footer, showing "Ready" and so fading.
    SidebarFooter& readyFooter() {
        rig.permissions.accessibility = true;
        rig.permissions.listen = true;
        rig.c().permissions().refresh();
        rig.c().showMain(MainTab::wheels);
        return windows.mainWindow()->footer();
    }

    SliceIconSources icons;
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

// Esc and Ctrl+W close each side window as its close button does, and the
// main window has the keys again, as it has after a dialog of its own closes.
TEST_F(ShellViewsTest, EscOrCtrlWClosesASideWindowAndTheMainWindowBecomesActiveAgain) {
    rig.c().showMain(MainTab::wheels);
    MainWindow* main = windows.mainWindow();
    ASSERT_TRUE(main);
    int userCloses = 0;
    windows.onSideWindowClosed = [&, forward = windows.onSideWindowClosed](Kind kind, bool byUser) {
        userCloses += byUser;
        forward(kind, byUser);
    };
    struct Case {
        Kind kind;
        QKeySequence keys;
    };
    for (const Case& c : {Case{Kind::onboarding, QKeySequence(Qt::Key_Escape)},
                          Case{Kind::shortcutSetup, QKeySequence(Qt::Key_Escape)},
                          Case{Kind::howItWorks, QKeySequence(Qt::Key_Escape)},
                          Case{Kind::onboarding, QKeySequence(Qt::CTRL | Qt::Key_W)},
                          Case{Kind::shortcutSetup, QKeySequence(Qt::CTRL | Qt::Key_W)},
                          Case{Kind::howItWorks, QKeySequence(Qt::CTRL | Qt::Key_W)}}) {
        const auto name = c.keys.toString().toStdString() + " on " + std::to_string(static_cast<int>(c.kind));
        QApplication::setActiveWindow(main);
        if (c.kind == Kind::onboarding) rig.c().showOnboarding(OnboardingStep::welcome);
        if (c.kind == Kind::shortcutSetup) rig.c().showShortcutSetup(std::nullopt);
        if (c.kind == Kind::howItWorks) rig.c().showHowItWorks();
        SideWindow* side = windows.sideWindow(c.kind);
        ASSERT_TRUE(side) << name;
        QApplication::setActiveWindow(side);
        QWidget* focused = QApplication::focusWidget() ? QApplication::focusWidget() : side;
        QTest::keyClick(focused, static_cast<Qt::Key>(c.keys[0].key()), c.keys[0].keyboardModifiers());
        EXPECT_FALSE(windows.state(c.kind).exists) << name;
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), main) << name;
    }
    EXPECT_EQ(userCloses, 6);

    // A sheet hands the keys back to its window; a window the user is not in
    // takes nothing when it goes.
    QDialog sheet(main);
    sheet.show();
    QApplication::setActiveWindow(&sheet);
    sheet.reject();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), main);
    rig.c().showHowItWorks();
    QCoreApplication::processEvents();
    QApplication::setActiveWindow(nullptr);
    windows.sideWindow(Kind::howItWorks)->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), nullptr);
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
    EXPECT_EQ(titles, (QStringList{"&Rondelix", "&Edit"})); // added once, after the program's menu

    struct Row {
        const char *menu, *item, *keys;
    };
    for (const Row& row :
         {Row{"&Rondelix", "&Settings…", "Ctrl+,"}, Row{"&Rondelix", "&Quit Rondelix", "Ctrl+Q"},
          Row{"&Edit", "&Undo", "Ctrl+Z"}, Row{"&Edit", "&Redo", "Ctrl+Shift+Z"},
          Row{"&Edit", "Cu&t", "Ctrl+X"}, Row{"&Edit", "&Copy", "Ctrl+C"}, Row{"&Edit", "&Paste", "Ctrl+V"},
          Row{"&Edit", "Select &All", "Ctrl+A"}}) {
        QAction* action = findAction(main->menuBar(), row.menu, row.item);
        ASSERT_TRUE(action) << row.item;
        EXPECT_EQ(action->shortcut(), QKeySequence(row.keys)) << row.item;
    }

    auto* field = new QLineEdit("wheel name", main);
    field->show();
    field->setFocus();
    QApplication::setActiveWindow(main);
    ASSERT_EQ(QApplication::focusWidget(), field);
    findAction(main->menuBar(), "&Edit", "Select &All")->trigger();
    EXPECT_EQ(field->selectedText(), "wheel name");
    findAction(main->menuBar(), "&Edit", "Cu&t")->trigger();
    EXPECT_EQ(field->text(), "");
    findAction(main->menuBar(), "&Edit", "&Undo")->trigger();
    EXPECT_EQ(field->text(), "wheel name");

    // Alt and a menu's letter open the menu; the field gets no letter.
    QTest::keyClick(field, Qt::Key_E, Qt::AltModifier);
    auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(open);
    EXPECT_EQ(open->title(), "&Edit");
    open->close();
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

    findAction(main->menuBar(), "&Rondelix", "&Settings…")->trigger();
    EXPECT_EQ(rig.c().mainTab(), MainTab::appearance);
    QAction* closeWindow = nullptr;
    for (QAction* action : main->actions())
        if (action->shortcut() == QKeySequence("Ctrl+W")) closeWindow = action;
    ASSERT_TRUE(closeWindow);
    closeWindow->trigger();
    EXPECT_FALSE(windows.state(Kind::main).visible);
}

TEST_F(ShellViewsTest, TheWorkshopIsKeptAndOtherPagesAreMadeOnEntry) {
    std::map<MainTab, int> made;
    std::vector<MainPage> pages = mainPages();
    for (MainPage& page : pages)
        if (page.make)
            page.make = [&made, tab = page.tab](const PageContext&, QWidget* parent) {
                ++made[tab];
                return new QWidget(parent);
            };
    rig.c().setMainTab(MainTab::wheels);
    MainWindow main({rig.c(), icons}, {}, pages);
    QPointer<QWidget> workshop = main.currentPage();
    ASSERT_TRUE(qobject_cast<WheelWorkshopPage*>(workshop.data()));
    for (MainTab tab : {MainTab::gallery, MainTab::wheels, MainTab::gallery, MainTab::about, MainTab::general,
                        MainTab::about})
        rig.c().setMainTab(tab);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(made, (std::map<MainTab, int>{{MainTab::about, 2}, {MainTab::general, 1}}));
    ASSERT_TRUE(workshop);
    EXPECT_TRUE(qobject_cast<WheelWorkshopPage*>(workshop.data())->showsGallery())
        << "settings leave it alone";
    rig.c().setMainTab(MainTab::wheels);
    EXPECT_EQ(main.currentPage(), workshop.data());
    EXPECT_FALSE(qobject_cast<WheelWorkshopPage*>(workshop.data())->showsGallery());
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
    SidebarFooter& footer = readyFooter();
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

// The ready pill's slow fade follows its curve in a few dozen steps, not one
// per frame, ends clear, and comes back at once when the pill is needed.
TEST_F(ShellViewsTest, TheReadyPillFadesInFewStepsAlongItsCurve) {
    SidebarFooter& footer = readyFooter();
    ASSERT_EQ(footer.pill().status(), FooterStatus::ready);
    const QEasingCurve curve(QEasingCurve::InOutQuad);
    std::set<double> shown;
    for (double t = 0; t < FooterPill::fadeOutSeconds - 0.5; t += 1.0 / 60) {
        const double expected = 1 - curve.valueForProgress(t / FooterPill::fadeOutSeconds);
        EXPECT_NEAR(footer.shownOpacity(), expected, 0.04) << t << " s";
        shown.insert(footer.shownOpacity());
        rig.queue.advance(1.0 / 60);
    }
    EXPECT_LE(shown.size(), 34u);
    EXPECT_GE(shown.size(), 20u);

    rig.permissions.listen = false;
    rig.c().permissions().refresh();
    rig.queue.advance(FooterPill::fadeInSeconds);
    EXPECT_EQ(footer.shownOpacity(), 1.0);
}

TEST_F(ShellViewsTest, FlippingGlassChangesEveryOpenWindowAtOnce) {
    std::vector<std::pair<QWidget*, bool>> blurs;
    bool blurOffered = true;
    QtAppWindows glassy(
        {true, [&](QWidget& w, bool on) { blurs.emplace_back(&w, on); }, [&] { return blurOffered; }});
    CoordinatorRig other;
    other.open(other.platform(&glassy));
    glassy.attach(other.c(), icons);
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

    // High contrast on the desktop: opaque at once, and glass again after.
    glassy.setHighContrast(true);
    EXPECT_FALSE(main->backdrop().translucent());
    EXPECT_FALSE(guide->backdrop().translucent());
    glassy.setHighContrast(false);
    EXPECT_TRUE(main->backdrop().translucent());

    // The compositor stops: every open window turns opaque at once.
    glassy.setCompositor(false);
    EXPECT_FALSE(main->backdrop().translucent());
    EXPECT_FALSE(guide->backdrop().translucent());
    main->render(&shot, {}, {}, QWidget::DrawWindowBackground);
    EXPECT_EQ(qAlpha(shot.pixel(main->width() - 2, main->height() - 2)), 255);
    // One that blurs nothing would let the sharp text behind read through:
    // every window stays opaque under it.
    blurOffered = false;
    glassy.setCompositor(true);
    shot.fill(Qt::transparent);
    main->render(&shot, {}, {}, QWidget::DrawWindowBackground);
    EXPECT_EQ(qAlpha(shot.pixel(main->width() - 2, main->height() - 2)), 255);
    EXPECT_FALSE(guide->backdrop().translucent());
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

// WCAG's contrast of the icon's strongest pixel against the panel it sits on.
double contrastOnPanel(const QIcon& icon, const QColor& panel) {
    QImage image(24, 24, QImage::Format_ARGB32);
    image.fill(panel);
    QPainter painter(&image);
    icon.paint(&painter, image.rect());
    painter.end();
    double best = 1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            best = std::max(best, testsupport::contrastRatio(image.pixelColor(x, y), panel));
    return best;
}

TEST_F(ShellViewsTest, TrayIconDrawsInThePanelsTextColourAndDimsWhilePaused) {
    // A tray that says its text colour gets exactly that.
    TrayMenu told(rig.c(), [] {}, {[] { return std::optional(QColor(Qt::white)); }});
    EXPECT_EQ(strongestPixel(told.icon()).rgba(), QColor(Qt::white).rgba());
    rig.c().togglePause(false);
    const QIcon paused = told.icon();
    EXPECT_EQ(strongestPixel(paused).rgb(), QColor(Qt::white).rgb());
    EXPECT_NEAR(strongestPixel(paused).alpha(), 0.4 * 255, 2);
    rig.c().togglePause(false);
    savePanel(told, paused, QColor(34, 34, 38), "tray-icon-dark-panel.png");
}

TEST_F(ShellViewsTest, ATrayThatSaysNothingGetsAnIconThatReadsOnLightAndDarkPanelsInEitherScheme) {
    // Stock panels: Xfce's and MATE's light ones, KDE's and the dark themes' dark ones.
    const QColor panels[] = {QColor(236, 236, 236), QColor(246, 245, 244), QColor(49, 54, 59),
                             QColor(34, 34, 38)};
    platform::sim::SimDesktopAppearance appearance;
    int redraws = 0;
    TrayMenu tray(rig.c(), [] {}, {{}, &appearance});
    for (const auto scheme :
         {platform::ColorScheme::light, platform::ColorScheme::dark, platform::ColorScheme::unknown}) {
        const QIcon before = tray.icon();
        appearance.set({scheme, false, false});
        rig.queue.advance(PanelLooks::gatherSeconds);
        redraws += before.pixmap(24).toImage() != tray.icon().pixmap(24).toImage();
        for (const QColor& panel : panels)
            EXPECT_GE(contrastOnPanel(tray.icon(), panel), 3.0)
                << panel.name().toStdString() << " scheme " << static_cast<int>(scheme);
    }
    EXPECT_EQ(redraws, 2) << "a new colour scheme redraws the icon, no restart needed";
    appearance.set({platform::ColorScheme::light, false, false});
    savePanel(tray, tray.icon(), QColor(49, 54, 59), "tray-icon-light-scheme-on-dark-panel.png");
}

// KDE's panel repaints a few seconds after the desktop switches between
// light and dark: the panel is looked at until its colour has settled, and
// not at all once it has; one that keeps its colour is looked at now and
// then up to the longest such wait, not several times a second.
TEST_F(ShellViewsTest, TheTrayMarkFollowsAPanelThatRepaintsSecondsAfterASwitch) {
    platform::sim::SimDesktopAppearance appearance;
    appearance.set({platform::ColorScheme::light, false, false});
    QColor panel(239, 240, 241);
    int looks = 0;
    TrayMenu tray(rig.c(), [] {}, {{}, &appearance, {}, [&] {
                                       ++looks;
                                       return std::optional(panel);
                                   }});
    rig.queue.advance(30);
    EXPECT_GE(contrastOnPanel(tray.icon(), panel), 3.0);
    appearance.set({platform::ColorScheme::dark, false, false});
    rig.queue.advance(3);
    panel = QColor(49, 54, 59);
    rig.queue.advance(1);
    EXPECT_GE(contrastOnPanel(tray.icon(), panel), 3.0) << "the panel's repaint was not followed within 1 s";
    rig.queue.advance(2);
    const int settled = looks;
    rig.queue.advance(60);
    EXPECT_EQ(looks, settled) << "looked at a panel that has settled";

    appearance.set({platform::ColorScheme::light, false, false});
    rig.queue.advance(10);
    EXPECT_LE(looks - settled, 20) << "looks at a panel that kept its colour through a switch";
}

// Where the display tells of the panel's repaints, the panel is followed
// where the icon sits: a switch that leaves it as it was costs one look, a
// repaint told seconds later is followed at once, and one told after the
// longest wait ends the following.
TEST_F(ShellViewsTest, TheTrayMarkFollowsToldRepaintsAndLooksOnceAtAPanelThatKeepsItsColour) {
    platform::sim::SimDesktopAppearance appearance;
    appearance.set({platform::ColorScheme::light, false, false});
    QColor panel(239, 240, 241);
    int looks = 0;
    bool followed = false;
    TrayPanelLook look{{}, &appearance, {}, [&] {
                           ++looks;
                           return std::optional(panel);
                       }};
    look.followRepaints = [&](const QRect&) { return followed = true; };
    look.stopRepaints = [&] { followed = false; };
    TrayMenu tray(
        rig.c(), [] {}, look);
    rig.queue.advance(30);

    const int before = looks;
    appearance.set({platform::ColorScheme::dark, false, false});
    rig.queue.advance(PanelLooks::gatherSeconds + PanelLooks::atMostSeconds + 0.1);
    EXPECT_EQ(looks - before, 1) << "looked more than once at a panel that kept its colour";
    tray.panelRepainted();
    rig.queue.advance(1);
    EXPECT_EQ(looks - before, 1) << "looked at a repaint after the longest wait";
    EXPECT_FALSE(followed) << "followed past the longest wait";

    appearance.set({platform::ColorScheme::light, false, false});
    rig.queue.advance(3);
    ASSERT_TRUE(followed);
    panel = QColor(49, 54, 59);
    tray.panelRepainted();
    rig.queue.advance(0.01);
    EXPECT_GE(contrastOnPanel(tray.icon(), panel), 3.0) << "a told repaint was not followed at once";
}

} // namespace
} // namespace rondelix
