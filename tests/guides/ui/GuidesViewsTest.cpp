#include "app/GuidesPorts.h"
#include "engine/PermissionsCheck.h"
#include "guides/OnboardingTexts.h"
#include "guides/ui/OnboardingView.h"
#include "guides/ui/ShortcutSetupView.h"
#include "support/CoordinatorRig.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
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

    auto* unavailable = view.findChild<QFrame*>("card-true-tone");
    ASSERT_TRUE(unavailable);
    EXPECT_FALSE(button(*unavailable, "installButton"));
    EXPECT_EQ(unavailable->findChild<QLabel*>("badge")->text().contains("Unavailable"), true);

    auto* own = view.findChild<QWidget*>("writeYourOwnSteps");
    EXPECT_FALSE(own->isVisibleTo(&view));
    QTest::mouseClick(button(view, "writeYourOwn"), Qt::LeftButton);
    EXPECT_TRUE(own->isVisibleTo(&view));
}

} // namespace
} // namespace rondelix
