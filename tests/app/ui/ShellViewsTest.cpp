#include "app/ui/MainWindow.h"
#include "app/ui/QtAppWindows.h"
#include "app/ui/TrayMenu.h"
#include "support/CoordinatorRig.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
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

TEST_F(ShellViewsTest, SideWindowsCarryTheirTitlesAndOnlyAUserCloseCounts) {
    rig.c().showOnboarding(OnboardingStep::welcome);
    ASSERT_TRUE(topLevel("Welcome to Rondelix"));
    rig.c().showOnboarding(OnboardingStep::permissions); // replaced by the program
    EXPECT_TRUE(windows.state(Kind::onboarding).exists);

    int dismissals = 0;
    windows.onOnboardingClosedByUser = [&] { ++dismissals; };
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

} // namespace
} // namespace rondelix
