#include "app/SettingsPorts.h"
#include "settings/ui/AppearancePage.h"
#include "settings/ui/SettingsPageRig.h"
#include "settings/ui/WheelBehaviorPage.h"

#include <QCheckBox>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <cmath>

namespace rondelix {
namespace {

class AppearancePageTest : public testsupport::SettingsPageTest {
  protected:
    AppearancePageTest() {
        show(new AppearancePage(rig.c().configStore(), rig.c().overlayController(), testWheelControl(rig.c()),
                                nullptr));
    }
    QString valueText(const QString& title) {
        return slider(title)->parentWidget()->findChild<QLabel*>("valueText")->text();
    }
};

TEST_F(AppearancePageTest, SlidersStoreOneValuePerStepAndShowTheirTexts) {
    EXPECT_EQ(valueText("Size"), "320 px");
    EXPECT_EQ(valueText("Transparency"), "10%");
    stepRight("Size");
    EXPECT_EQ(config().behavior.wheelSize, 330);
    EXPECT_EQ(valueText("Size"), "330 px");
    slider("Transparency")->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_DOUBLE_EQ(config().behavior.opacity, 0.2);
    EXPECT_EQ(valueText("Transparency"), "80%");
    EXPECT_EQ(changes, 2);
}

TEST_F(AppearancePageTest, DraggingSizeShowsTheWheelOnlyWhileTheDragLasts) {
    QSlider* size = slider("Size");
    QStyleOptionSlider option;
    option.initFrom(size);
    option.orientation = Qt::Horizontal;
    option.minimum = size->minimum();
    option.maximum = size->maximum();
    option.sliderPosition = option.sliderValue = size->value();
    const QPoint handle =
        size->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, size).center();
    QTest::mousePress(size, Qt::LeftButton, {}, handle);
    EXPECT_TRUE(rig.c().overlayController().previewingSize());
    QMouseEvent move(QEvent::MouseMove, QPointF(handle + QPoint(60, 0)),
                     size->mapToGlobal(QPointF(handle + QPoint(60, 0))), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(size, &move);
    EXPECT_GT(config().behavior.wheelSize, 320);
    EXPECT_EQ(std::fmod(config().behavior.wheelSize, 10.0), 0.0);
    QTest::mouseRelease(size, Qt::LeftButton, {}, handle + QPoint(60, 0));
    EXPECT_FALSE(rig.c().overlayController().previewingSize());
}

TEST_F(AppearancePageTest, TestAppearanceFollowsTheCoordinatorAndEndsWhenThePageGoes) {
    auto* test = control<QPushButton>("testAppearance");
    expectSymbol("testAppearance", "eye");
    expectSymbol("resetAppearance", "arrow.counterclockwise");
    QTest::mouseClick(test, Qt::LeftButton);
    EXPECT_TRUE(rig.c().testWheelActive());
    EXPECT_EQ(test->text(), "Stop Test Appearance");
    expectSymbol("testAppearance", "stop.circle.fill");
    saveScreenshot("settings-appearance.png");
    rig.escape.pressEscape(); // Esc ends it from outside the page
    EXPECT_FALSE(rig.c().testWheelActive());
    EXPECT_EQ(test->text(), "Test Appearance");
    QTest::mouseClick(test, Qt::LeftButton);
    page->hide();
    EXPECT_FALSE(rig.c().testWheelActive());
}

TEST_F(AppearancePageTest, ResetAndGlassAreOneChangeEach) {
    rig.c().configStore().mutate([](Config& c) { c.behavior.wheelSize = 400; });
    changes = 0;
    QTest::mouseClick(control<QPushButton>("resetAppearance"), Qt::LeftButton);
    EXPECT_EQ(valueText("Size"), "320 px");
    QTest::mouseClick(control<QCheckBox>("Frosted Glass"), Qt::LeftButton);
    EXPECT_TRUE(config().behavior.liquidGlassEnabled);
    EXPECT_EQ(changes, 2);
}

class WheelBehaviorPageTest : public testsupport::SettingsPageTest {
  protected:
    WheelBehaviorPageTest() { show(new WheelBehaviorPage(rig.c().configStore(), nullptr)); }
};

TEST_F(WheelBehaviorPageTest, SwitchesRevealTheirSlidersAndEveryEditIsOneChange) {
    EXPECT_FALSE(isShown("Fade duration"));
    QTest::mouseClick(control<QCheckBox>("Fade out on close"), Qt::LeftButton);
    EXPECT_TRUE(config().behavior.closeFadeEnabled);
    EXPECT_TRUE(isShown("Fade duration"));
    // The slider's row opens over 0.25 s, fading in as its content rises.
    QWidget* row = slider("Fade duration");
    while (row && !row->graphicsEffect())
        row = row->parentWidget();
    ASSERT_TRUE(row);
    auto* motion = row->findChild<QVariantAnimation*>();
    ASSERT_TRUE(motion);
    motion->setCurrentTime(0);
    EXPECT_EQ(row->height(), 0);
    motion->setCurrentTime(125);
    const int halfOpen = row->height();
    EXPECT_NEAR(static_cast<QGraphicsOpacityEffect*>(row->graphicsEffect())->opacity(), 0.5, 0.02);
    finishMotion();
    EXPECT_NEAR(halfOpen, row->height() / 2, 2);
    EXPECT_FALSE(row->graphicsEffect());
    stepRight("Fade duration");
    EXPECT_EQ(config().behavior.closeFadeMs, 160);
    control<QComboBox>("Pressed arrow after firing")->activated(1);
    EXPECT_TRUE(isShown("Resume delay"));
    EXPECT_EQ(changes, 3);
    saveScreenshot("settings-wheel-behavior.png");
}

TEST_F(WheelBehaviorPageTest, ChangesMadeElsewhereShowAtOnce) {
    rig.c().configStore().mutate([](Config& c) {
        c.behavior.tabCyclesWheels = false;
        c.behavior.stickyAim = false;
    });
    EXPECT_FALSE(isShown("Tap Shift to go back"));
    EXPECT_FALSE(control<QCheckBox>("Sticky aim")->isChecked());
}

} // namespace
} // namespace rondelix
