#include "actions/InstalledAutomations.h"
#include "app/ui/MainWindow.h"
#include "app/ui/QtAppWindows.h"
#include "overlay/ui/SliceIconSources.h"
#include "support/CoordinatorRig.h"

#include <QAbstractAnimation>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGraphicsEffect>
#include <QPropertyAnimation>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpontaneKeyEvent>
#include <QWheelEvent>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace rondelix {
namespace {

using testsupport::CoordinatorRig;

// Every page of the main window as a user reaches it, the slice form showing
// a picker of installed automations too.
class EveryPageTest : public ::testing::Test {
  protected:
    EveryPageTest() {
        rig.open(rig.platform(&windows));
        windows.attach(rig.c(), icons);
        installAutomation("Lights");
        rig.c().unlockDevMenu();
        // The slot My Wheels selects first holds a slice, so its form shows.
        rig.c().configStore().editWheels(std::nullopt, [](std::vector<Wheel>& wheels) {
            std::erase_if(wheels.front().slices, [](const Slice& s) { return s.position == 0; });
            wheels.front().slices.front().position = 0;
        });
        rig.c().configStore().configChanged.connect([this] { ++changes; });
    }
    ~EveryPageTest() override { windows.destroyAll(); }

    void installAutomation(const std::string& name) {
        const auto folder = rig.c().automations().folder();
        std::filesystem::create_directories(folder);
        std::ofstream(folder / name) << "#!/bin/sh\n";
        std::filesystem::permissions(folder / name, std::filesystem::perms::owner_all);
        rig.c().automations().refresh();
        settle();
    }
    void settle() {
        for (int i = 0; i < 3; ++i) {
            rig.background.runAll();
            rig.queue.advance(0.5);
            QApplication::processEvents();
        }
    }

    // Shows each page in the main window, and My Wheels once more with the
    // selected slice running an automation.
    void forEachPage(const std::function<void(const std::string& page, QWidget& window)>& check) {
        for (const MainTab tab : allMainTabs) {
            rig.c().showMain(tab);
            settle();
            QWidget* window = windows.mainWindow();
            settleAtTestSize(*window);
            check("tab " + std::to_string(static_cast<int>(tab)), *window);
        }
        rig.c().showMain(MainTab::wheels);
        rig.c().configStore().editWheels(std::nullopt, [](std::vector<Wheel>& wheels) {
            wheels.front().slices.front().action = MacroAction::Shortcut{"Lights"};
        });
        settle();
        settleAtTestSize(*windows.mainWindow());
        check("My Wheels, an automation slice", *windows.mainWindow());
    }

    // The window's resize to the page's size (fitted to the small test
    // screen) and the workshop's slide between the gallery and the editor run
    // on the wall clock: to their end, the slide's whole group, or the
    // picture of the page it left goes on fading over the new one; then the
    // window at the size the checks expect. A widget's fade through its
    // opacity effect keeps its own time.
    void settleAtTestSize(QWidget& window) {
        for (auto* motion : window.findChildren<QAbstractAnimation*>()) {
            const auto* moving = qobject_cast<QPropertyAnimation*>(motion);
            const bool fade = moving && qobject_cast<QGraphicsEffect*>(moving->targetObject());
            if (!fade && !motion->group() && motion->state() == QAbstractAnimation::Running)
                motion->setCurrentTime(motion->totalDuration());
        }
        settle();
        window.resize(1100, 560);
        settle();
    }

    SliceIconSources icons;
    QtAppWindows windows;
    CoordinatorRig rig;
    int changes = 0;
};

// Pickers, sliders and spin boxes: what a wheel notch could turn. A scroll
// bar is the page's own.
std::vector<QWidget*> valueControls(QWidget& window) {
    std::vector<QWidget*> found;
    for (QWidget* w : window.findChildren<QWidget*>())
        if (qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
            (qobject_cast<QAbstractSlider*>(w) && !qobject_cast<QScrollBar*>(w)))
            found.push_back(w);
    return found;
}

int valueOf(QWidget* control) {
    if (auto* picker = qobject_cast<QComboBox*>(control)) return picker->currentIndex();
    if (auto* slider = qobject_cast<QAbstractSlider*>(control)) return slider->value();
    return qobject_cast<QAbstractSpinBox*>(control)->text().toInt();
}

std::string nameOf(QWidget* control) {
    return (control->objectName().isEmpty() ? control->accessibleName() : control->objectName())
        .toStdString();
}

QScrollBar* pageScrollBar(QWidget* control) {
    for (QWidget* w = control->parentWidget(); w; w = w->parentWidget())
        if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) return area->verticalScrollBar();
    return nullptr;
}

// Scrolls the page to the control, as Tab does.
void scrollTo(QWidget* control) {
    for (QWidget* w = control->parentWidget(); w; w = w->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(w)) return area->ensureWidgetVisible(control);
}

// One notch down, as from the mouse: the application gives the focus to a
// control that takes it from the wheel, and hands an ignored notch on to the
// parents.
void notch(QWidget* control) {
    const QPointF centre = QRectF(control->rect()).center();
    QWheelEvent event(centre, control->mapToGlobal(centre), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::instance()->notify(control, &event);
}

TEST_F(EveryPageTest, AWheelNotchOverAControlWithoutFocusScrollsThePageAndChangesNothing) {
    std::set<std::string> checked;
    forEachPage([&](const std::string& page, QWidget& window) {
        for (QWidget* control : valueControls(window)) {
            // The other pages' controls wait hidden for their turn.
            if (!control->isVisible()) continue;
            SCOPED_TRACE(page + ", " + nameOf(control));
            checked.insert(nameOf(control));
            window.setFocus();
            QScrollBar* bar = pageScrollBar(control);
            if (bar) bar->setValue(bar->minimum());
            const int before = valueOf(control);
            changes = 0;
            notch(control);
            EXPECT_EQ(valueOf(control), before);
            EXPECT_EQ(changes, 0);
            if (bar && bar->maximum() > bar->minimum()) {
                EXPECT_GT(bar->value(), bar->minimum()) << "the page did not scroll";
            }
        }
    });
    for (const char* control : {"iconKind", "actionKind", "automationPicker", "sliceCount", "Size",
                                "Position", "Hold delay", "Transparency"})
        EXPECT_TRUE(checked.contains(control)) << control << " was not found";

    // A focused control still takes the notch.
    rig.c().showMain(MainTab::appearance);
    QApplication::setActiveWindow(windows.mainWindow());
    QComboBox* position = nullptr;
    for (auto* picker : windows.mainWindow()->findChildren<QComboBox*>())
        if (picker->accessibleName() == "Position" && picker->isVisible()) position = picker;
    ASSERT_TRUE(position);
    position->setFocus();
    notch(position);
    EXPECT_EQ(rig.c().configStore().config().behavior.position, Behavior::Position::screenCenter);
}

TEST_F(EveryPageTest, ScreenReadersHearEveryControlNamedAndEveryPickerAndSliderByItsRowLabel) {
    std::set<QString> labels;
    forEachPage([&](const std::string& page, QWidget& window) {
        const std::vector<QWidget*> valued = valueControls(window);
        for (QWidget* control : window.findChildren<QWidget*>()) {
            if (!control->isVisible() || !(control->focusPolicy() & Qt::TabFocus)) continue;
            SCOPED_TRACE(page + ", " + control->metaObject()->className() + " " + nameOf(control));
            QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(control);
            const auto labelledBy = seen->relations(QAccessible::Label);
            EXPECT_FALSE(seen->text(QAccessible::Name).isEmpty() && labelledBy.empty());
            // A picker's own name is the choice it shows.
            if (std::ranges::find(valued, control) != valued.end()) {
                EXPECT_FALSE(labelledBy.empty());
            }
            for (const auto& [label, relation] : labelledBy)
                labels.insert(label->text(QAccessible::Name));
        }
    });
    for (const char* label : {"Icon", "Action", "Automation", "Name", "Slices", "Opens for", "Position",
                              "Size", "Aim sound", "Hold delay", "Accent color"})
        EXPECT_TRUE(labels.contains(label)) << label;
}

// Where focus is shows: the control looks different with it, drawn by itself
// or by its parent around it.
TEST_F(EveryPageTest, EveryControlShowsWhenItHasTheFocus) {
    int checked = 0;
    forEachPage([&](const std::string& page, QWidget& window) {
        QApplication::setActiveWindow(&window);
        for (QWidget* control : window.findChildren<QWidget*>()) {
            if (!control->isVisible() || !control->isEnabled() || !(control->focusPolicy() & Qt::TabFocus))
                continue;
            SCOPED_TRACE(page + ", " + control->metaObject()->className() + " " + nameOf(control));
            scrollTo(control);
            const QRect around =
                QRect(control->mapTo(&window, QPoint()), control->size()).adjusted(-4, -4, 4, 4);
            window.setFocus();
            // As after a Tab: the style draws focus for the keyboard.
            window.setAttribute(Qt::WA_KeyboardFocusChange);
            const QImage without = window.grab(around).toImage();
            control->setFocus(Qt::TabFocusReason);
            ASSERT_TRUE(control->hasFocus());
            const QImage with = window.grab(around).toImage();
            EXPECT_NE(with, without);

            if (const QString shot = control->objectName(); !shot.isEmpty())
                with.save(QCoreApplication::applicationDirPath() + "/artifacts/focus-" + shot + ".png");

            ++checked;
        }
    });
    EXPECT_GT(checked, 60);
}

} // namespace
} // namespace rondelix
