#include "app/GuidesPorts.h"
#include "engine/PermissionsCheck.h"
#include "guides/OnboardingTexts.h"
#include "guides/ui/HowItWorksView.h"
#include "guides/ui/OnboardingView.h"
#include "guides/ui/ShortcutSetupView.h"
#include "overlay/ui/SliceIconSources.h"
#include "support/ContrastRatio.h"
#include "support/CoordinatorRig.h"
#include "support/PaintChecks.h"

#include <QDir>
#include <QFrame>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testsupport::CoordinatorRig;

QPushButton* button(QWidget& view, const char* name) {
    for (auto* b : view.findChildren<QPushButton*>(name))
        if (b->isVisibleTo(&view)) return b;
    return nullptr;
}

TEST(GuidesViewsTest, OnboardingShowsEachStepAndExplainsAMissingX11Session) {
    CoordinatorRig rig;
    rig.permissions.accessibility = false;
    rig.permissions.listen = false;
    rig.open();
    rig.c().permissions().refresh();
    OnboardingView view(onboardingHost(rig.c()), OnboardingStep::welcome, {});
    view.resize(560, 640);
    view.show();
    ASSERT_TRUE(view.findChild<QWidget*>("welcomeStep"));
    QTest::mouseClick(button(view, "primaryButton"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(view.flow().step(), OnboardingStep::permissions);
    EXPECT_EQ(view.findChildren<QLabel*>("noGlobalInput").size(), 2);
    EXPECT_EQ(view.findChild<QLabel*>("permissionsFooter")->text().toStdString(),
              OnboardingTexts::permissionsFooter(false));
    EXPECT_FALSE(button(view, "primaryButton")->isEnabled());
    QTest::keyClick(&view, Qt::Key_Return);
    EXPECT_EQ(view.flow().step(), OnboardingStep::permissions);

    rig.permissions.accessibility = true;
    rig.permissions.listen = true;
    rig.queue.advance(1.0); // the watch sees the session come through
    QApplication::processEvents();
    EXPECT_EQ(view.flow().step(), OnboardingStep::ready);
    EXPECT_TRUE(view.findChild<QWidget*>("readyStep"));
    EXPECT_TRUE(button(view, "backButton"));
}

// On X11 both are there: the step names what the program uses and says so;
// the ready step says where the program stays, with a tray and without.
TEST(GuidesViewsTest, OnX11ThePermissionsStepSaysBothAreAvailableAndTheReadyStepWhereRondelixStays) {
    const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
    QDir().mkpath(folder);
    for (const bool tray : {true, false}) {
        CoordinatorRig rig;
        rig.windows.tray = tray;
        rig.open();
        OnboardingView view(onboardingHost(rig.c()), OnboardingStep::permissions, {});
        view.resize(560, 640);
        view.show();
        QApplication::processEvents();
        EXPECT_TRUE(view.findChildren<QLabel*>("noGlobalInput").isEmpty());
        EXPECT_EQ(view.findChild<QLabel*>("permissionsFooter")->text().toStdString(),
                  OnboardingTexts::permissionsFooter(true));
        if (tray) view.grab().save(folder + "/onboarding-permissions-x11.png");
        QTest::mouseClick(button(view, "primaryButton"), Qt::LeftButton);
        QApplication::processEvents();
        ASSERT_EQ(view.flow().step(), OnboardingStep::ready);
        EXPECT_EQ(view.findChild<QLabel*>("whereItLives")->text().toStdString(),
                  OnboardingTexts::whereItLives(tray));
        view.grab().save(folder + (tray ? "/onboarding-ready-tray.png" : "/onboarding-ready-no-tray.png"));
    }
}

TEST(GuidesViewsTest, AFirstSummonOnTheReadyStepIsCelebratedOnACardOverTheStep) {
    CoordinatorRig rig;
    rig.open();
    OnboardingView view(onboardingHost(rig.c()), OnboardingStep::ready, {});
    view.resize(560, 640);
    view.show();
    rig.c().wheelState().setVisible(true);
    rig.c().wheelState().setVisible(false);
    QApplication::processEvents();
    QLabel* heading = nullptr;
    for (auto* label : view.findChildren<QLabel*>())
        if (label->text() == "You did it!" && label->isVisibleTo(&view)) heading = label;
    ASSERT_TRUE(heading);
    QWidget* card = heading->parentWidget();
    for (auto* fade : view.findChildren<QPropertyAnimation*>())
        fade->setCurrentTime(fade->totalDuration());

    // The card hides the step under it: the page shows it as it draws itself.
    const QRect inner = QRect(card->mapTo(&view, QPoint(0, 0)), card->size()).adjusted(30, 30, -30, -30);
    testsupport::WarningCount warnings;
    const QImage shot = view.grab().toImage();
    const QImage onView = shot.copy(inner);
    const QImage alone = card->grab().toImage().copy(inner.translated(-card->mapTo(&view, QPoint(0, 0))));
    EXPECT_EQ(warnings.count, 0) << warnings.first.toStdString();
    EXPECT_LT(testsupport::meanDifference(onView, alone), 8.0);
    const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
    QDir().mkpath(folder);
    shot.save(folder + "/onboarding-celebration.png");

    // It fades out once its time is up.
    rig.queue.advance(OnboardingFlow::confettiSeconds);
    for (auto* fade : view.findChildren<QPropertyAnimation*>())
        fade->setCurrentTime(fade->totalDuration());
    QApplication::processEvents();
    EXPECT_FALSE(heading->isVisibleTo(&view));
}

TEST(GuidesViewsTest, SetupCardsOfferInstallStepsAndSayWhyInstallFailed) {
    CoordinatorRig rig;
    rig.open();
    testing::writeText(rig.c().configStore().paths().automations, "a file where the folder belongs");
    ShortcutSetupView view(shortcutSetupHost(rig.c()), std::string("Toggle Bluetooth"), {});
    view.resize(560, 640);
    view.show();
    QApplication::processEvents();
    auto* card = view.findChild<QFrame*>("card-toggle-bluetooth");
    ASSERT_TRUE(card);
    EXPECT_EQ(button(*card, "stepsButton")->text(), "Hide steps");
    auto* install = button(*card, "installButton");
    ASSERT_TRUE(install);
    install->click();
    auto* message = view.findChild<QLabel*>("setupMessage");
    EXPECT_TRUE(message->isVisibleTo(&view));
    EXPECT_TRUE(message->text().contains("is a file, not a folder")) << message->text().toStdString();

    // What no Linux desktop has gets no card.
    EXPECT_FALSE(view.findChild<QFrame*>("card-true-tone"));
    EXPECT_FALSE(view.findChild<QFrame*>("card-stage-manager"));

    const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
    QDir().mkpath(folder);
    view.findChild<QScrollArea*>()->widget()->grab().save(folder + "/setup-cards.png");
    auto* symbol = card->findChild<QLabel*>("cardSymbol");
    ASSERT_TRUE(symbol);
    EXPECT_FALSE(symbol->pixmap().isNull());
    // While it checks, the re-check button turns a spinner beside its words.
    QPushButton* recheck = button(view, "recheckButton");
    EXPECT_TRUE(recheck->icon().isNull());
    recheck->click();
    EXPECT_EQ(recheck->text(), "Checking\u2026");
    EXPECT_FALSE(recheck->icon().isNull());

    auto* own = view.findChild<QWidget*>("writeYourOwnSteps");
    EXPECT_FALSE(own->isVisibleTo(&view));
    QTest::mouseClick(button(view, "writeYourOwn"), Qt::LeftButton);
    EXPECT_TRUE(own->isVisibleTo(&view));
}

// The build steps point at "Open Automations" where it is, and showing and
// hiding them moves none of the card's buttons within the card.
TEST(GuidesViewsTest, SetupStepsPointAtTheFolderButtonWhichStaysPut) {
    CoordinatorRig rig;
    rig.open();
    ShortcutSetupView view(shortcutSetupHost(rig.c()), std::nullopt, {});
    view.resize(560, 640);
    view.show();
    const auto card = [&] { return view.findChild<QFrame*>("card-toggle-bluetooth"); };
    const auto at = [&](const char* name) {
        // A rebuilt card takes its size over a few rounds of layout.
        for (int round = 0; round < 4; ++round)
            QApplication::processEvents();
        return button(*card(), name)->mapTo(card(), QPoint());
    };
    const QPoint open = at("openFolderButton");

    const QPoint steps = at("stepsButton");
    button(*card(), "stepsButton")->click();
    EXPECT_EQ(button(*card(), "stepsButton")->text(), "Hide steps");
    EXPECT_EQ(at("openFolderButton"), open);
    EXPECT_EQ(at("stepsButton"), steps);

    QLabel* first = nullptr;
    for (QLabel* label : card()->findChildren<QLabel*>())
        if (label->text().contains("\u201COpen Automations\u201D")) first = label;
    ASSERT_TRUE(first);
    const bool buttonAbove = open.y() < first->mapTo(card(), QPoint()).y();
    EXPECT_TRUE(first->text().contains(buttonAbove ? "above" : "below")) << first->text().toStdString();
    const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
    QDir().mkpath(folder);
    view.grab().save(folder + "/setup-steps.png");
}

// The onboarding's primary button is the guide's: filled in the accent, its
// title readable on it; the welcome's step glyphs are symbols in the accent,
// sized and centred in their frames.
TEST(GuidesViewsTest, OnboardingAndGuideShareTheProminentAccentButton) {
    CoordinatorRig rig;
    rig.open();
    rig.c().configStore().mutate([](Config& c) { c.behavior.accentHex = "#AF52DE"; });
    SliceIconSources icons;
    OnboardingView onboarding(onboardingHost(rig.c()), OnboardingStep::welcome, {});
    HowItWorksView guide(howItWorksHost(rig.c()), icons);
    for (QWidget* view : {static_cast<QWidget*>(&onboarding), static_cast<QWidget*>(&guide)}) {
        view->resize(560, 640);
        view->show();
    }
    QApplication::processEvents();
    const auto purple = [](const QColor& c) { return c.red() > c.green() + 40 && c.blue() > c.green() + 40; };
    std::vector<QColor> fills;
    for (QWidget* view : {static_cast<QWidget*>(&onboarding), static_cast<QWidget*>(&guide)}) {
        const QImage look = button(*view, "primaryButton")->grab().toImage();
        const QColor fill = testsupport::commonestColour(look);
        EXPECT_TRUE(purple(fill)) << fill.name().toStdString();
        double title = 1;
        for (int y = 0; y < look.height(); ++y)
            for (int x = 0; x < look.width(); ++x)
                title = std::max(title, testsupport::contrastRatio(look.pixelColor(x, y), fill));
        EXPECT_GE(title, 4.5);
        fills.push_back(fill);
    }
    EXPECT_EQ(fills.front(), fills.back()) << "one look for both";

    const auto symbols = onboarding.findChildren<QLabel*>("stepSymbol");
    ASSERT_EQ(symbols.size(), 3);
    for (QLabel* symbol : symbols) {
        const QImage look = symbol->grab().toImage();
        const QColor ground = testsupport::commonestColour(look);
        QRect ink;
        for (int y = 0; y < look.height(); ++y)
            for (int x = 0; x < look.width(); ++x)
                if (testsupport::contrastRatio(look.pixelColor(x, y), ground) > 3) {
                    EXPECT_TRUE(purple(look.pixelColor(x, y)));
                    ink |= QRect(x, y, 1, 1);
                }
        EXPECT_GE(ink.height(), 16) << "sized as the step's title";
        EXPECT_LE((ink.center() - look.rect().center()).manhattanLength(), 3) << "centred in its frame";
    }
    const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
    QDir().mkpath(folder);
    onboarding.grab().save(folder + "/onboarding-welcome.png");
    guide.grab().save(folder + "/guide-first-step.png");
    OnboardingView ready(onboardingHost(rig.c()), OnboardingStep::ready, {});
    ready.resize(560, 640);
    ready.show();
    QApplication::processEvents();
    ready.grab().save(folder + "/onboarding-ready.png");
}

} // namespace
} // namespace rondelix
