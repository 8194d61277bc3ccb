#include "settings/ui/BindingsPage.h"

#include "app/SettingsPorts.h"
#include "engine/HotkeyManager.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "qtshared/ElidingLabel.h"
#include "qtshared/QtColor.h"
#include "settings/ui/BindingRow.h"
#include "settings/ui/SettingsPageRig.h"
#include "support/PaintChecks.h"
#include "support/WidgetsShownWhole.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

namespace rondelix {
namespace {

class BindingsPageTest : public testsupport::SettingsPageTest {
  protected:
    void open(const std::vector<std::pair<std::vector<int>, bool>>& bindings) {
        rig.c().configStore().mutate([&](Config& c) {
            c.bindings.clear();
            for (const auto& [keys, on] : bindings)
                c.bindings.push_back({Uuid::generate(), keys, 100, on});
        });
        show(new BindingsPage(rig.c().configStore(), rig.c().hotkeyManager(), rig.layout,
                              bindingsHost(rig.c()), nullptr));
    }
    std::vector<BindingRow*> rows() {
        std::vector<BindingRow*> shown;
        for (QWidget* widget : page->findChildren<QWidget*>())
            if (auto* row = dynamic_cast<BindingRow*>(widget); row && row->isVisibleTo(page.get()))
                shown.push_back(row);
        std::ranges::sort(shown, {}, [](QWidget* w) { return w->mapTo(w->window(), QPoint()).y(); });
        return shown;
    }
    template <typename T> T* in(BindingRow* row, const char* name) { return row->findChild<T*>(name); }
    // A key as the window system delivers it, numbered as the simulated layout reads it.
    void key(QEvent::Type type, int systemKeyCode, QObject* to = nullptr) {
        QKeyEvent event(type, Qt::Key_unknown, Qt::NoModifier,
                        systemKeyCode + platform::sim::SimKeyboardLayout::nativeCodeOffset, 0, 0);
        QApplication::sendEvent(to ? to : page.get(), &event);
    }
    void dropRemovedRows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

TEST_F(BindingsPageTest, RecordingACombinationStoresItOnce) {
    open({{{58}, true}, {{56}, false}});
    BindingRow* row = rows()[1];
    QTest::mouseClick(in<QPushButton>(row, "record"), Qt::LeftButton);
    EXPECT_TRUE(rig.c().hotkeyManager().recording());
    EXPECT_TRUE(in<QFrame>(row, "recordingPanel")->isVisible());
    EXPECT_EQ(in<QLabel>(row, "capturedCombo")->text(), "Hold keys…");
    EXPECT_FALSE(in<QPushButton>(row, "confirm")->isEnabled());
    key(QEvent::KeyPress, 55); // left Super
    key(QEvent::KeyPress, 15); // R
    EXPECT_EQ(in<QLabel>(row, "capturedCombo")->text(), "Left Super + R");
    EXPECT_TRUE(in<QLabel>(row, "capturedWarning")->isVisible());
    saveScreenshot("settings-bindings-recording.png", in<QFrame>(row, "recordingPanel"));
    key(QEvent::KeyRelease, 15);
    key(QEvent::KeyRelease, 55);
    QTest::mouseClick(in<QPushButton>(row, "confirm"), Qt::LeftButton);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(config().bindings[1].keyCodes, (std::vector<int>{55, 15}));
    EXPECT_TRUE(config().bindings[1].enabled);
    EXPECT_FALSE(rig.c().hotkeyManager().recording());
    EXPECT_FALSE(in<QFrame>(row, "recordingPanel")->isVisible());
    EXPECT_EQ(in<QLabel>(row, "comboLabel")->text(), "Left Super + R");
    EXPECT_EQ(in<QPushButton>(row, "record")->accessibleName(), "Record summon binding Left Super + R");
    EXPECT_TRUE(in<QToolButton>(row, "collisionHint")->isVisible());
    saveScreenshot("settings-bindings.png");
}

TEST_F(BindingsPageTest, KeysReachTheWindowAgainOnceTheRecordingEnds) {
    open({{{58}, true}});
    auto* field = new QLineEdit(page.get());
    QTest::mouseClick(in<QPushButton>(rows()[0], "record"), Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A);
    EXPECT_EQ(field->text(), "");
    QTest::mouseClick(in<QPushButton>(rows()[0], "cancel"), Qt::LeftButton);
    QTest::keyClick(field, Qt::Key_A);
    EXPECT_EQ(field->text(), "a");
    EXPECT_EQ(changes, 0);
}

// Confirm is the recording panel's prominent button: filled in the accent,
// as deep as its title needs, and following the accent when it changes.
TEST_F(BindingsPageTest, ConfirmIsTheProminentButtonFilledInTheAccent) {
    const struct Restore {
        const QPalette before = QApplication::palette();
        ~Restore() { QApplication::setPalette(before); }
    } restore;
    const auto withAccent = [&](const char* hex) {
        QPalette palette = restore.before;
        for (const auto group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, QPalette::Highlight, QColor(hex));
        return palette;
    };
    const auto prominentFill = [](const char* hex) {
        const Color colour = Color::fromHex(hex);
        return toQColor(readableOn(colour, contrastingForeground(colour))).name().toStdString();
    };
    const auto fill = [](QPushButton* button) {
        return testsupport::commonestColour(button->grab().toImage()).name().toStdString();
    };
    QApplication::setPalette(withAccent("#AF52DE"));
    open({{{58}, true}});
    QTest::mouseClick(in<QPushButton>(rows()[0], "record"), Qt::LeftButton);
    key(QEvent::KeyPress, 55); // left Super
    auto* confirm = in<QPushButton>(rows()[0], "confirm");
    ASSERT_TRUE(confirm->isEnabled());
    EXPECT_EQ(fill(confirm), prominentFill("#AF52DE"));
    page->setPalette(withAccent("#34C759"));
    EXPECT_EQ(fill(confirm), prominentFill("#34C759"));
    EXPECT_NE(fill(in<QPushButton>(rows()[0], "cancel")), fill(confirm));
    saveScreenshot("settings-bindings-confirm.png", in<QFrame>(rows()[0], "recordingPanel"));
    key(QEvent::KeyRelease, 55);
    QTest::mouseClick(in<QPushButton>(rows()[0], "cancel"), Qt::LeftButton);
}

TEST_F(BindingsPageTest, ABindingOfMoreKeysThanCanBeHeldSaysItNeverSummons) {
    std::vector<int> many;
    for (int code = 0; code < 20; ++code)
        many.push_back(code);
    open({{{58}, true}, {many, true}});
    EXPECT_FALSE(in<QLabel>(rows()[0], "unholdableWarning")->isVisible());
    auto* warning = in<QLabel>(rows()[1], "unholdableWarning");
    EXPECT_TRUE(warning->isVisible());
    EXPECT_TRUE(warning->text().startsWith("This binding needs 20 keys held at once"))
        << warning->text().toStdString();
    saveScreenshot("settings-bindings-unholdable.png");
}

TEST_F(BindingsPageTest, TheLastWorkingBindingsControlsAreDisabledAndSayWhy) {
    open({{{58}, true}, {{56}, false}});
    BindingRow* working = rows()[0];
    BindingRow* off = rows()[1];
    EXPECT_FALSE(in<QCheckBox>(working, nullptr)->isEnabled());
    EXPECT_TRUE(in<QCheckBox>(working, nullptr)->toolTip().startsWith("The last active binding stays on"));
    EXPECT_FALSE(in<QToolButton>(working, "remove")->isEnabled());
    EXPECT_TRUE(in<QToolButton>(off, "remove")->isEnabled());
    EXPECT_FALSE(in<QToolButton>(working, "collisionHint")->isVisible()); // Left Alt alone
    // A disabled Remove looks disabled: greyed, not the red of one that works.
    const auto look = [&](BindingRow* row) { return in<QToolButton>(row, "remove")->grab().toImage(); };
    EXPECT_GT(testsupport::meanDifference(look(working), look(off)), 3.0);
    saveScreenshot("bindings-last-working.png");

    QTest::mouseClick(in<QToolButton>(off, "remove"), Qt::LeftButton);
    dropRemovedRows();
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_FALSE(in<QToolButton>(rows()[0], "remove")->isVisible()); // a single binding shows no Remove
    EXPECT_EQ(changes, 1);
}

TEST_F(BindingsPageTest, AddBindingTwiceGivesThreeRowsAndTheSwitchRevealsTheHoldDelay) {
    open({{{96}, true}});
    expectSymbol("addBinding", "plus");
    expectSymbol("setUpSystemActions", "switch.2");
    QTest::mouseClick(control<QPushButton>("addBinding"), Qt::LeftButton);
    QTest::mouseClick(control<QPushButton>("addBinding"), Qt::LeftButton);
    expectSymbol("remove", "minus.circle");
    ASSERT_EQ(rows().size(), 3u);
    BindingRow* added = rows()[2];
    EXPECT_EQ(in<QLabel>(added, "comboLabel")->text(), "None");
    EXPECT_FALSE(in<QSlider>(added, nullptr)->isVisibleTo(page.get()));
    QTest::mouseClick(in<QCheckBox>(added, nullptr), Qt::LeftButton);
    EXPECT_TRUE(in<QSlider>(added, nullptr)->isVisibleTo(page.get()));
    in<QSlider>(added, nullptr)->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(config().bindings[2].holdThresholdMs, 500);
    EXPECT_EQ(in<QLabel>(added, "holdDelayText")->text(), "500 ms");
    EXPECT_EQ(changes, 4);
    const auto labels = page->findChildren<QLabel*>();
    EXPECT_TRUE(std::ranges::any_of(labels, [](QLabel* label) {
        return label->text() == "Bluetooth, Do Not Disturb and Night Light toggles fire through automations "
                                "you install once.";
    }));
    QTest::mouseClick(control<QPushButton>("setUpSystemActions"), Qt::LeftButton);
    EXPECT_EQ(rig.windows.shortcutSetupOpens, 1);
}

TEST_F(BindingsPageTest, LeavingThePageWhileRecordingReturnsTheEngineToNormal) {
    open({{{58}, true}});
    QTest::mouseClick(in<QPushButton>(rows()[0], "record"), Qt::LeftButton);
    page.reset();
    EXPECT_FALSE(rig.c().hotkeyManager().recording());
    EXPECT_FALSE(rig.c().cancelActiveBindingRecorder);
}

// Eight modifiers make a combination wider than the page: the row and the
// recording panel stay inside the window, the combination cut in its middle
// on one line with the whole of it as the tooltip; closing the window takes
// the panel along and ends the recording.
TEST_F(BindingsPageTest, ALongCombinationStaysInsideTheWindowAndThePanelGoesWithIt) {
    const std::vector<int> modifiers{59, 58, 56, 55, 62, 61, 60, 54};
    open({{modifiers, true}, {{58}, false}});
    page->resize(520, 600);
    QApplication::processEvents();
    BindingRow* row = rows()[1];
    QTest::mouseClick(in<QPushButton>(row, "record"), Qt::LeftButton);
    for (int code : modifiers)
        key(QEvent::KeyPress, code);
    QApplication::processEvents();
    auto* panel = in<QFrame>(row, "recordingPanel");
    ASSERT_TRUE(panel->isVisible());
    saveScreenshot("bindings-long-combo.png");
    saveScreenshot("bindings-long-combo-recording.png", panel);

    EXPECT_EQ(testsupport::partlyShown(*page).join("\n").toStdString(), "");
    const QString whole =
        "Left Ctrl + Left Alt + Left Shift + Left Super + Right Ctrl + Right Alt + Right Shift + "
        "Right Super";
    for (auto* combination :
         {in<ElidingLabel>(rows()[0], "comboLabel"), in<ElidingLabel>(row, "capturedCombo")}) {
        const QString shown = combination->shownText();
        EXPECT_TRUE(shown.startsWith("Left Ctrl") && shown.endsWith("Right Super") && shown.contains("…"))
            << shown.toStdString();
        EXPECT_EQ(combination->text(), whole);
        QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), combination->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(combination, &hover);
        EXPECT_EQ(QToolTip::text(), whole);
    }
    const QRect window = page->geometry();
    EXPECT_GE(panel->geometry().left(), window.left());
    EXPECT_LE(panel->geometry().right(), window.right());

    page->hide();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(rig.c().hotkeyManager().recording());
}

} // namespace
} // namespace rondelix
