#include "editor/ui/WheelEditorPage.h"

#include "app/CoordinatorEditorSession.h"
#include "app/ui/MainWindow.h"
#include "app/ui/QtAppWindows.h"
#include "app/ui/ReadablePalette.h"
#include "editor/SliceEdits.h"
#include "editor/ui/ConfettiView.h"
#include "editor/ui/PreviewWheel.h"
#include "editor/ui/SliceSection.h"
#include "editor/ui/WheelPillColumn.h"
#include "editor/ui/WheelSection.h"
#include "icons/ui/SymbolFont.h"
#include "model/DefaultConfig.h"
#include "overlay/WheelSwitcher.h"
#include "overlay/ui/SliceIconSources.h"
#include "overlay/ui/WheelGraphic.h"
#include "platform/sim/SimDesktopAppearance.h"
#include "qtshared/ElidingLabel.h"
#include "support/ContrastRatio.h"
#include "support/CoordinatorRig.h"
#include "support/PaintChecks.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVariantAnimation>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testsupport::CoordinatorRig;
using testsupport::meanDifference;
using testsupport::WarningCount;

Wheel wheelWith(std::string id, std::string name, std::vector<int> filled = {}) {
    Wheel w;
    w.id = std::move(id);
    w.name = std::move(name);
    for (int p : filled)
        w.slices.push_back(Slice{Uuid::generate(), p, "Slot " + std::to_string(p),
                                 Icon{Icon::SfSymbol{"star.fill"}}, MacroAction{MacroAction::Text{"hi"}}});
    return w;
}

class WheelEditorPageTest : public ::testing::Test {
  protected:
    void open(std::vector<Wheel> wheels) {
        Config config = DefaultConfig::factoryConfig();
        config.wheels = std::move(wheels);
        config.lastUsedWheelId = config.wheels.front().id;
        rig.writeConfig(config);
        rig.open(rig.platform(&windows));
        windows.attach(rig.c(), icons);
        rig.c().showMain(MainTab::wheels);
    }
    ~WheelEditorPageTest() override {
        windows.destroyAll();
        // What the pages dropped goes before the services it used.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    WheelEditorPage* page() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* found = w->findChild<WheelEditorPage*>(); found && w->isVisible()) return found;
        return nullptr;
    }
    const std::vector<Wheel>& wheels() { return rig.c().configStore().config().wheels; }
    QPoint pillCentre(const std::string& id) {
        const platform::Rect frame = page()->pills().frame(id).value();
        return QPoint(static_cast<int>(frame.midX()), static_cast<int>(frame.midY()));
    }
    // A point on a slot of the preview, halfway between hub and rim.
    QPoint slotPoint(int position, int count) {
        WheelGraphic& graphic = page()->preview().graphic();
        const QRectF square = graphic.square();
        const double angle = (position * 2 * M_PI / count) - M_PI / 2;
        const double radius = square.width() * 0.36;
        return QPoint(static_cast<int>(square.center().x() + radius * std::cos(angle)),
                      static_cast<int>(square.center().y() + radius * std::sin(angle)));
    }
    // Runs `open` and answers the items of the menu it opened, which then
    // takes `keys`; nothing when no menu opened.
    static QStringList menuOpenedBy(const std::function<void()>& open,
                                    std::vector<Qt::Key> keys = {Qt::Key_Escape}) {
        QStringList items;
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            for (const QAction* action : menu->actions())
                if (!action->isSeparator()) items << action->text();
            for (const Qt::Key key : keys)
                QTest::keyClick(menu, key);
        });
        open();
        QCoreApplication::processEvents();
        return items;
    }
    static void keyboardMenu(QWidget& widget) {
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), widget.mapToGlobal(QPoint()));
        QApplication::sendEvent(&widget, &menuKey);
    }
    static void saveArtifact(QWidget& widget, const QString& name) {
        QCoreApplication::processEvents();
        const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/artifacts");
        QDir().mkpath(folder);
        widget.grab().save(folder + QLatin1Char('/') + name);
    }

    SliceIconSources icons;
    QtAppWindows windows;
    CoordinatorRig rig;
};

TEST_F(WheelEditorPageTest, PillsSelectOnClickAndMoveOnDrop) {
    open({wheelWith("a", "Alpha", {0}), wheelWith("b", "Beta"), wheelWith("c", "Gamma")});
    ASSERT_TRUE(page());
    // The tab strip's buttons show their symbols, from the program's own font.
    const std::pair<QAbstractButton*, const char*> symbols[] = {
        {page()->addButton(), "plus"},
        {page()->importButton(), "square.and.arrow.down"},
        {page()->exportButton(), "square.and.arrow.up"},
        {page()->undoButton(), "arrow.uturn.backward"},
        {page()->redoButton(), "arrow.uturn.forward"}};
    for (const auto& [button, symbol] : symbols) {
        const QColor ink = button->palette().color(QPalette::Active, QPalette::ButtonText);
        EXPECT_EQ(button->icon().pixmap(32, QIcon::Normal).toImage().convertToFormat(QImage::Format_ARGB32),
                  SymbolFont::pixmap(symbol, 32, ink).toImage().convertToFormat(QImage::Format_ARGB32))
            << symbol;
    }
    WheelPillColumn& pills = page()->pills();
    EXPECT_EQ(page()->editor().selectedWheelId(), "a");

    page()->editor().selectPosition(3);
    QTest::mouseClick(&pills, Qt::LeftButton, {}, pillCentre("b"));
    EXPECT_EQ(page()->editor().selectedWheelId(), "b");
    EXPECT_EQ(page()->editor().selectedPosition(), 0);
    EXPECT_EQ(rig.c().lastEditedWheelId, "b");

    // A press that wanders 5 points is still a click.
    QTest::mousePress(&pills, Qt::LeftButton, {}, pillCentre("c"));
    QTest::mouseMove(&pills, pillCentre("c") + QPoint(3, 4));
    QTest::mouseRelease(&pills, Qt::LeftButton, {}, pillCentre("c") + QPoint(3, 4));
    EXPECT_EQ(page()->editor().selectedWheelId(), "c");

    // Alpha dragged onto Gamma lands after it; the selection stays.
    QTest::mousePress(&pills, Qt::LeftButton, {}, pillCentre("a"));
    QTest::mouseMove(&pills, pillCentre("b"));
    QTest::mouseMove(&pills, pillCentre("c"));
    EXPECT_EQ(pills.drag().id, "a");
    QTest::mouseRelease(&pills, Qt::LeftButton, {}, pillCentre("c"));
    ASSERT_EQ(wheels().size(), 3u);
    EXPECT_EQ(wheels()[0].id, "b");
    EXPECT_EQ(wheels()[2].id, "a");
    EXPECT_EQ(page()->editor().selectedWheelId(), "c");
    EXPECT_FALSE(pills.drag().id);
    saveArtifact(*page(), "editor-page.png");
}

// Where the desktop asks for less motion a hovered pill grows at once and
// shrinks back at once, with no spring to wait for.
TEST_F(WheelEditorPageTest, UnderReducedMotionPillsFollowTheHoverAtOnce) {
    open({wheelWith("a", "Alpha"), wheelWith("b", "Beta")});
    ASSERT_TRUE(page());
    rig.screens.options.reduceMotion = true;
    WheelPillColumn& pills = page()->pills();
    const QImage resting = pills.grab().toImage();
    QTest::mouseMove(&pills, pillCentre("b"));
    ASSERT_EQ(pills.hovered(), "b");
    EXPECT_NE(pills.grab().toImage(), resting);
    QTest::mouseMove(&pills, QPoint(2, pillCentre("b").y())); // the column's margin
    ASSERT_FALSE(pills.hovered());
    EXPECT_EQ(pills.grab().toImage(), resting);
}

TEST_F(WheelEditorPageTest, AListLongerThanTheColumnScrollsToTheSelectionAndHitsOnlyPillsInSight) {
    std::vector<Wheel> list;
    for (int i = 0; i < 2000; ++i)
        list.push_back(wheelWith("w" + std::to_string(i), "Wheel " + std::to_string(i)));
    open(list);
    ASSERT_TRUE(page());
    WheelPillColumn& pills = page()->pills();
    page()->editor().select("w1998", 0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(pills.visibleRegion().boundingRect().contains(pillCentre("w0")));
    EXPECT_TRUE(pills.visibleRegion().boundingRect().contains(pillCentre("w1999")));
    EXPECT_EQ(pills.shownName("w1999"), "Wheel 1999");

    QTest::mouseClick(&pills, Qt::LeftButton, {}, pillCentre("w1999"));
    EXPECT_EQ(page()->editor().selectedWheelId(), "w1999");
    saveArtifact(*page(), "editor-page-long-list.png");
    // Dragged past the top of the column: the pills up there are out of sight,
    // so nothing is dropped on them.
    QTest::mousePress(&pills, Qt::LeftButton, {}, pillCentre("w1999"));
    QTest::mouseMove(&pills, pillCentre("w1998"));
    QTest::mouseMove(&pills, pillCentre("w0"));
    QTest::mouseRelease(&pills, Qt::LeftButton, {}, pillCentre("w0"));
    EXPECT_EQ(wheels().front().id, "w0");
    EXPECT_EQ(wheels().back().id, "w1999");
}

TEST_F(WheelEditorPageTest, PreviewClicksSelectSlotsAndTheCardsFollow) {
    open({wheelWith("a", "Alpha", {0, 2})});
    ASSERT_TRUE(page());
    page()->resize(1200, 760);
    QCoreApplication::processEvents();
    WheelGraphic& graphic = page()->preview().graphic();

    QTest::mouseClick(&graphic, Qt::LeftButton, {}, slotPoint(2, 8));
    EXPECT_EQ(page()->editor().selectedPosition(), 2);
    auto* title = page()->sliceSection().findChild<QLabel*>("sectionTitle");
    auto* accent = page()->sliceSection().findChild<QLabel*>("sectionAccent");
    EXPECT_EQ(title->text(), "Slice 3");
    EXPECT_EQ(accent->text(), "Right");
    EXPECT_TRUE(page()->preview().showsOutline());

    QTest::mouseClick(&graphic, Qt::LeftButton, {}, slotPoint(5, 8));
    EXPECT_EQ(page()->editor().selectedPosition(), 5);
    auto* invitation = page()->sliceSection().findChild<QLabel*>("emptySlot");
    ASSERT_TRUE(invitation);
    EXPECT_EQ(invitation->text(), "Nothing here yet. Add an action to fill the Bottom-Left slice.");
    EXPECT_FALSE(page()->sliceSection().actionsButton()->isVisible());

    // While a wheel is summoned the preview mirrors it and takes no clicks.
    rig.c().wheelState().setActiveWheelId("a");
    rig.c().wheelState().setAimedPosition(2);
    rig.c().wheelState().setVisible(true);
    EXPECT_FALSE(page()->preview().inputs().interactive);
    EXPECT_EQ(page()->preview().inputs().aimedPosition, 2);
    QTest::mouseClick(&graphic, Qt::LeftButton, {}, slotPoint(0, 8));
    EXPECT_EQ(page()->editor().selectedPosition(), 5);
    rig.c().wheelState().reset();
    EXPECT_TRUE(page()->preview().inputs().interactive);

    // So does one that leaves the drawing as it was.
    for (const bool summoned : {true, false}) {
        rig.c().wheelState().setVisible(summoned);
        QTest::mouseClick(&graphic, Qt::LeftButton, {}, slotPoint(0, 8));
        EXPECT_EQ(page()->editor().selectedPosition(), summoned ? 5 : 0);
    }
}

// The glow of a mirrored summon's slot goes on past the wheel's square and
// fades out there, with no straight edge where the square ends.
TEST_F(WheelEditorPageTest, TheGlowSpillsPastTheSquareWithoutAnEdge) {
    open({wheelWith("a", "Alpha", {6})});
    page()->resize(1200, 760);
    rig.c().wheelState().setActiveWheelId("a");
    rig.c().wheelState().setAimedPosition(6);
    rig.c().wheelState().setVisible(true);
    for (auto* motion : page()->preview().graphic().findChildren<QVariantAnimation*>())
        motion->setCurrentTime(motion->totalDuration());
    QCoreApplication::processEvents();
    const QImage shot = page()->grab().toImage();
    const QRect square(page()->preview().mapTo(page(), QPoint()), page()->preview().size());
    const auto apart = [](const QColor& a, const QColor& b) {
        return std::max(
            {std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())});
    };
    for (const int side : {-1, 1}) {
        const int y = square.center().y() + side * square.height() / 10;
        const QColor inside = shot.pixelColor(square.left(), y);
        EXPECT_LE(apart(inside, shot.pixelColor(square.left() - 1, y)), 4) << "at " << y;
        // It is the glow that goes on there, not the page.
        EXPECT_GT(apart(inside, shot.pixelColor(square.left() - 70, y)), 10) << "at " << y;
    }
    saveArtifact(*page(), "preview-glow.png");
}

// Tab walks the tab strip, the pills, the preview and then the inspector; Up
// and Down pick a wheel, the arrows a slot, and the Menu key or Shift+F10 open
// the pill's menu and the filled slot's actions menu.
TEST_F(WheelEditorPageTest, TheKeyboardReachesThePillsAndTheSlots) {
    open({wheelWith("a", "Alpha", {0}), wheelWith("b", "Beta"), wheelWith("c", "Gamma")});
    ASSERT_TRUE(page());
    QApplication::setActiveWindow(page()->window());
    WheelPillColumn& pills = page()->pills();
    PreviewWheel& preview = page()->preview();
    page()->addButton()->setFocus();
    std::vector<QWidget*> visited;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(visited, (std::vector<QWidget*>{page()->importButton(), page()->exportButton(), &pills,
                                              &preview, page()->wheelSection().nameField()}));

    pills.setFocus();
    struct Step {
        Qt::Key key;
        std::string selected;
    };
    for (const Step& step :
         {Step{Qt::Key_Down, "b"}, Step{Qt::Key_Down, "c"}, Step{Qt::Key_Down, "c"}, Step{Qt::Key_Up, "b"}}) {
        QTest::keyClick(&pills, step.key);
        EXPECT_EQ(page()->editor().selectedWheelId(), step.selected);
    }
    saveArtifact(*page(), "editor-focused-pill.png");
    QAccessibleInterface* wheelList = QAccessible::queryAccessibleInterface(&pills);
    ASSERT_TRUE(wheelList);
    EXPECT_EQ(wheelList->role(), QAccessible::List);
    EXPECT_EQ(wheelList->text(QAccessible::Name), "Wheels");
    ASSERT_EQ(wheelList->childCount(), 3);
    EXPECT_EQ(wheelList->child(2)->text(QAccessible::Name), "Gamma");
    EXPECT_EQ(wheelList->focusChild(), wheelList->child(1));
    EXPECT_TRUE(wheelList->child(1)->state().selected);
    EXPECT_FALSE(wheelList->child(0)->state().selected);
    const QStringList pillMenu{"Move Up", "Move Down", QString::fromUtf8("Export Wheel\u2026")};
    EXPECT_EQ(menuOpenedBy([&] { keyboardMenu(pills); }), pillMenu);
    EXPECT_EQ(menuOpenedBy([&] { QTest::keyClick(&pills, Qt::Key_F10, Qt::ShiftModifier); },
                           {Qt::Key_Down, Qt::Key_Return}),
              pillMenu);
    EXPECT_EQ(wheels()[0].id, "b") << "Move Up, chosen from the keyboard";
    EXPECT_EQ(page()->editor().selectedWheelId(), "b");

    QTest::mouseClick(&pills, Qt::LeftButton, {}, pillCentre("a"));
    // The offscreen platform leaves no window active once a menu closes.
    QApplication::setActiveWindow(page()->window());
    preview.setFocus();
    for (const auto& [key, position] : std::vector<std::pair<Qt::Key, int>>{
             {Qt::Key_Right, 1}, {Qt::Key_Down, 2}, {Qt::Key_Up, 1}, {Qt::Key_Left, 0}, {Qt::Key_Left, 7}}) {
        QTest::keyClick(&preview, key);
        EXPECT_EQ(page()->editor().selectedPosition(), position);
    }
    EXPECT_TRUE(menuOpenedBy([&] { QTest::keyClick(&preview, Qt::Key_F10, Qt::ShiftModifier); }).isEmpty())
        << "an empty slot has no actions menu";
    QTest::keyClick(&preview, Qt::Key_Right);
    saveArtifact(*page(), "editor-focused-slot.png");
    QAccessibleInterface* slotList = QAccessible::queryAccessibleInterface(&preview);
    ASSERT_TRUE(slotList);
    EXPECT_EQ(slotList->role(), QAccessible::List);
    ASSERT_EQ(slotList->childCount(), 8);
    EXPECT_EQ(slotList->focusChild(), slotList->child(0));
    EXPECT_EQ(slotList->child(0)->text(QAccessible::Name), "Top: Slot 0");
    EXPECT_EQ(slotList->child(2)->text(QAccessible::Name), "Right: empty");
    EXPECT_EQ(
        slotList->childAt(slotList->child(2)->rect().center().x(), slotList->child(2)->rect().center().y()),
        slotList->child(2));
    const QStringList sliceMenu{"Duplicate in This Wheel", "Copy to Wheel", "Move to Wheel"};
    EXPECT_EQ(menuOpenedBy([&] { keyboardMenu(preview); }), sliceMenu);
    EXPECT_EQ(menuOpenedBy([&] { QTest::keyClick(&preview, Qt::Key_F10, Qt::ShiftModifier); },
                           {Qt::Key_Down, Qt::Key_Return}),
              sliceMenu);
    EXPECT_EQ(wheels()[1].slices.size(), 2u) << "Duplicate in This Wheel, chosen from the keyboard";

    // Add Action and Remove Action keep the keys in the slice card.
    QApplication::setActiveWindow(page()->window());
    page()->editor().select("c", 2);
    SliceSection& card = page()->sliceSection();
    const auto press = [&](const char* button) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        auto* found = card.findChild<QPushButton*>(button);
        ASSERT_TRUE(found) << button;
        found->setFocus();
        QTest::keyClick(found, Qt::Key_Space);
    };
    press("addAction");
    ASSERT_TRUE(card.form());
    EXPECT_TRUE(card.form()->isAncestorOf(QApplication::focusWidget()));
    EXPECT_EQ(QApplication::focusWidget()->accessibleName(), "Label");
    saveArtifact(*page(), "editor-added-action.png");
    QTest::keyClicks(QApplication::focusWidget(), "Launch");
    EXPECT_EQ(page()->editor().selectedSlice()->label, "Launch") << "typing replaces the placeholder label";
    press("removeAction");
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "addAction");
}

TEST_F(WheelEditorPageTest, CtrlZUndoesOnTheWheelsPageOnly) {
    open({wheelWith("a", "Alpha"), wheelWith("b", "Beta")});
    ASSERT_TRUE(page());
    QLineEdit* name = page()->wheelSection().nameField();
    name->setFocus();
    QTest::keyClicks(name, "!");
    EXPECT_EQ(wheels()[0].name, "Alpha!");
    EXPECT_TRUE(page()->undoButton()->isEnabled());

    QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(wheels()[0].name, "Alpha");
    EXPECT_EQ(name->text(), "Alpha");
    QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(wheels()[0].name, "Alpha!");

    rig.c().isCapturingKeystroke = true;
    QTest::keyClick(name, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(wheels()[0].name, "Alpha!");
    rig.c().isCapturingKeystroke = false;

    rig.c().setMainTab(MainTab::appearance);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == "Rondelix" && w->isVisible()) window = w;
    ASSERT_TRUE(window);
    QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(wheels()[0].name, "Alpha!");
}

// The symbols of the tab strip and of undo and redo are drawn in their
// button's text colour: each switch between light and dark, either way and
// again, leaves every one readable on its button.
TEST_F(WheelEditorPageTest, TheToolbarSymbolsFollowEachSwitchBetweenLightAndDark) {
    const auto restore =
        qScopeGuard([toolkit = QApplication::palette()] { QApplication::setPalette(toolkit); });
    platform::sim::SimDesktopAppearance desktop;
    ReadablePalette palette;
    const ScopedConnection followed = palette.follow(desktop);
    open({wheelWith("a", "Alpha")});
    ASSERT_TRUE(page());
    std::vector<QAbstractButton*> buttons;
    for (auto* button : page()->findChildren<QAbstractButton*>())
        if (QStringList{"Add Wheel", "Import Wheel", "Export Wheel"}.contains(button->text()) ||
            button->objectName() == "undo" || button->objectName() == "redo")
            buttons.push_back(button);
    ASSERT_EQ(buttons.size(), 5u);
    // The symbol's ink: its most opaque pixel.
    const auto ink = [](const QAbstractButton& button) {
        const QImage icon = button.icon().pixmap(32).toImage().convertToFormat(QImage::Format_ARGB32);
        QColor found(Qt::transparent);
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                if (icon.pixelColor(x, y).alpha() > found.alpha()) found = icon.pixelColor(x, y);
        return found;
    };
    using platform::ColorScheme;
    for (const auto& [name, scheme] : {std::pair{"dark", ColorScheme::dark},
                                       {"light", ColorScheme::light},
                                       {"dark again", ColorScheme::dark}}) {
        desktop.set({.colorScheme = scheme});
        QCoreApplication::processEvents();
        for (const QAbstractButton* button : buttons) {
            const QColor back = button->palette().color(QPalette::Button);
            EXPECT_GE(testsupport::contrastRatio(ink(*button), back), 3.0)
                << name << ": "
                << (button->text().isEmpty() ? button->objectName() : button->text()).toStdString()
                << " drawn in " << ink(*button).name().toStdString() << " on " << back.name().toStdString();
        }
    }
}

TEST_F(WheelEditorPageTest, TabsAndWheelCardWriteThroughTheStore) {
    open({wheelWith("a", "Alpha", {0, 7})});
    ASSERT_TRUE(page());
    EXPECT_FALSE(page()->wheelSection().deleteButton()->isVisible());
    QTest::mouseClick(page()->addButton(), Qt::LeftButton);
    ASSERT_EQ(wheels().size(), 2u);
    EXPECT_EQ(page()->editor().selectedWheelId(), wheels()[1].id);
    EXPECT_EQ(page()->wheelSection().nameField()->text(), "Wheel 2");
    EXPECT_TRUE(page()->wheelSection().deleteButton()->isVisibleTo(page()));

    QTest::mouseClick(&page()->pills(), Qt::LeftButton, {}, pillCentre("a"));
    rig.dialogs.alertAnswers = {"Cancel"};
    QComboBox* count = page()->wheelSection().sliceCountPicker();
    count->activated(count->findData(6));
    ASSERT_EQ(rig.dialogs.alerts.size(), 1u);
    EXPECT_EQ(rig.dialogs.alerts[0].message, "Reduce to 6 slices?");
    EXPECT_EQ(count->currentData().toInt(), 8) << "the picker shows the count that stayed";
    rig.dialogs.alertAnswers = {"Reduce"};
    count->activated(count->findData(6));
    EXPECT_EQ(wheels()[0].sliceCount, 6);
    EXPECT_EQ(wheels()[0].slices.size(), 1u);
}

TEST_F(WheelEditorPageTest, TheSliceCardHostsTheFormForTheSelectedSlot) {
    open({wheelWith("a", "Alpha"), wheelWith("b", "Beta", {0, 1, 2, 3, 4, 5, 6, 7})});
    windows.destroyAll();
    std::vector<std::pair<std::string, int>> made;
    WheelEditorPage host({rig.c().transferServices(),
                          std::make_shared<CoordinatorEditorSession>(rig.c()),
                          rig.sounds,
                          rig.queue,
                          rig.c().wheelState(),
                          [&](const SliceSlot& slot, QWidget* parent) -> QWidget* {
                              made.emplace_back(slot.wheelId, slot.position);
                              return new QLabel("form", parent);
                          },
                          icons,
                          {}});
    host.resize(1200, 760);
    host.show();
    SliceSection& card = host.sliceSection();
    EXPECT_EQ(card.findChild<QLabel*>("emptySlot")->text(),
              "Nothing here yet. Add an action to fill the Top slice.");
    QTest::mouseClick(card.findChild<QPushButton*>("addAction"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0], (std::pair<std::string, int>{"a", 0}));
    ASSERT_TRUE(card.form());
    EXPECT_EQ(wheels()[0].slices.at(0).label, "New Action");

    // Edits elsewhere leave the form in place, so typing in it goes on.
    host.editor().setName("Alpha 2");
    EXPECT_EQ(made.size(), 1u);

    host.editor().select("b", 3);
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[1], (std::pair<std::string, int>{"b", 3}));
    QMenu menu;
    card.fillActionsMenu(menu);
    const auto entries = menu.actions();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0]->text(), "Duplicate in This Wheel");
    EXPECT_FALSE(entries[0]->isEnabled()) << "Beta is full";
    EXPECT_EQ(entries[1]->text(), "Copy to Wheel");
    EXPECT_EQ(entries[1]->menu()->actions().front()->text(), "Alpha 2");
    EXPECT_TRUE(entries[1]->menu()->actions().front()->isEnabled());
    EXPECT_EQ(entries[2]->text(), "Move to Wheel");

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QTest::mouseClick(card.findChild<QPushButton*>("removeAction"), Qt::LeftButton);
    EXPECT_EQ(wheels()[1].slices.size(), 7u);
    EXPECT_TRUE(card.findChild<QLabel*>("emptySlot"));
}

// The icon row's name beside its preview and button has the room it needs in
// the inspector at its narrowest, where a label of many lines makes it scroll.
TEST_F(WheelEditorPageTest, TheIconRowShowsShortNamesWhole) {
    Wheel wheel = wheelWith("a", "Alpha", {0});
    wheel.slices.front().label = std::string(30, '\n');
    open({wheel});
    QWidget* window = page()->window();
    window->resize(1280, 600);
    auto* inspector = window->findChild<QScrollArea*>("inspector");
    ASSERT_TRUE(inspector);
    // The window takes its size, then the inspector lays its cards out.
    for (int i = 0; i < 10 && !inspector->verticalScrollBar()->isVisible(); ++i)
        QCoreApplication::processEvents();
    ASSERT_TRUE(inspector->verticalScrollBar()->isVisible());
    for (const Icon& icon : {Icon{Icon::CustomImage{""}}, Icon{Icon::SfSymbol{"square.and.arrow.down"}}}) {
        rig.c().configStore().editWheels(std::nullopt,
                                         [&](auto& wheels) { wheels[0].slices[0].icon = icon; });
        QCoreApplication::processEvents();
        auto* name = window->findChild<ElidingLabel*>("chooserName");
        ASSERT_TRUE(name);
        EXPECT_FALSE(name->isElided()) << name->shownText().toStdString() << " in " << name->width() << " px";
        saveArtifact(*name->parentWidget(), "icon-row-" + name->text().left(6) + ".png");
    }
}

TEST_F(WheelEditorPageTest, TheHundredthWheelCoversThePageWithConfettiForAWhile) {
    std::vector<Wheel> list;
    for (int i = 1; i <= 99; ++i)
        list.push_back(wheelWith("w" + std::to_string(i), "Wheel " + std::to_string(i)));
    open(std::move(list));
    ASSERT_TRUE(page());
    rig.dialogs.alertAnswers = {"I'm sure", "Yes, really", "Make it 100"};
    QTest::mouseClick(page()->addButton(), Qt::LeftButton);
    ASSERT_EQ(wheels().size(), 100u);
    ConfettiCelebration* shown = page()->celebration();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->geometry(), page()->rect());
    EXPECT_TRUE(shown->testAttribute(Qt::WA_TransparentForMouseEvents));

    // Faded in, the page shows the card as the card draws itself, and the
    // painting warns of nothing.
    for (auto* fade : shown->findChildren<QPropertyAnimation*>())
        fade->setCurrentTime(fade->totalDuration());
    QWidget* card = shown->findChild<QWidget*>("celebrationCard");
    ASSERT_TRUE(card);
    const QRect inner = card->geometry().adjusted(40, 40, -40, -40);
    WarningCount warnings;
    const QImage onPage = page()->grab().toImage().copy(inner);
    const QImage alone = card->grab().toImage().copy(inner.translated(-card->pos()));
    EXPECT_EQ(warnings.count, 0) << warnings.first.toStdString();
    EXPECT_LT(meanDifference(onPage, alone), 8.0);
    saveArtifact(*page(), "card-100-wheels.png");

    EXPECT_TRUE(shown->findChild<ConfettiView*>());
    rig.queue.advance(WheelEditor::celebrationSeconds + 0.1);
    EXPECT_FALSE(page()->celebration());

    // Where the desktop asks for less motion: the card alone, no confetti.
    rig.screens.options.reduceMotion = true;
    page()->editor().undo();
    ASSERT_EQ(wheels().size(), 99u);
    rig.dialogs.alertAnswers = {"I'm sure", "Yes, really", "Make it 100"};
    QTest::mouseClick(page()->addButton(), Qt::LeftButton);
    ASSERT_TRUE(page()->celebration());
    EXPECT_TRUE(page()->celebration()->findChild<QWidget*>("celebrationCard"));
    EXPECT_FALSE(page()->celebration()->findChild<ConfettiView*>());
}

TEST_F(WheelEditorPageTest, LongAndOddNamesShowElidedAndStayAsTheyAre) {
    const std::string longName(10000, 'W');
    const std::string oddName = "Tab\there\nline\x01end";
    open({wheelWith("a", longName), wheelWith("b", oddName)});
    ASSERT_TRUE(page());
    const QString shown = page()->pills().shownName("a");
    EXPECT_LT(shown.size(), 100);
    EXPECT_TRUE(shown.endsWith(QChar(0x2026)));
    EXPECT_FALSE(page()->pills().shownName("b").contains(QChar('\n')));
    EXPECT_EQ(page()->wheelSection().nameField()->text().size(), 10000);
    // Showing the names wrote nothing.
    EXPECT_FALSE(rig.c().configStore().canUndo());
    EXPECT_EQ(wheels()[0].name, longName);
    EXPECT_EQ(wheels()[1].name, oddName);
}

// Pasted text loses its control characters on the way into a wheel's name
// and a slice's label; the label keeps its line breaks.
TEST_F(WheelEditorPageTest, PastedNamesAndLabelsComeInWithoutControlCharacters) {
    open({wheelWith("a", "Alpha", {0})});
    ASSERT_TRUE(page());
    QLineEdit* name = page()->wheelSection().nameField();
    name->selectAll();
    QApplication::clipboard()->setText("Work\x01 \tTools\x07\n");
    name->paste();
    EXPECT_EQ(name->text(), "Work Tools");
    EXPECT_EQ(wheels()[0].name, "Work Tools");

    auto* label = page()->findChild<QPlainTextEdit*>("growingField");
    ASSERT_TRUE(label);
    label->selectAll();
    QApplication::clipboard()->setText("Say\x01\r\nHi\x7F\t");
    label->paste();
    rig.queue.advance(1);
    EXPECT_EQ(wheels()[0].slices.at(0).label, "Say\nHi");
}

// The preview's switcher reads the wheels' ids as the page last made them: a
// change to more than the wheel being edited makes them again.
TEST_F(WheelEditorPageTest, ThePreviewsSwitcherFollowsWheelsAddedRemovedAndMoved) {
    open({wheelWith("a", "A"), wheelWith("b", "B"), wheelWith("c", "C")});
    const auto shown = [&] {
        const auto& inputs = page()->preview().inputs();
        return wheelSwitcher(*inputs.wheelIds, inputs.wheel.id, page()->preview().graphic().square().width());
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<bool> dots;
        const char* count;
    };
    const Step steps[] = {
        {"as opened", [] {}, {true, false, false}, "1 / 3"},
        {"a wheel added", [&] { page()->editor().addWheel(); }, {false, false, false, true}, "4 / 4"},
        {"the new wheel removed", [&] { page()->editor().deleteWheel(); }, {true, false, false}, "1 / 3"},
        {"the first wheel moved down",
         [&] { page()->editor().movePill("a", 1); },
         {false, true, false},
         "2 / 3"},
    };
    for (const Step& step : steps) {
        step.act();
        QCoreApplication::processEvents();
        const WheelSwitcher switcher = shown();
        EXPECT_EQ(switcher.dots, step.dots) << step.what;
        EXPECT_EQ(switcher.countText, step.count) << step.what;
    }
}

} // namespace
} // namespace rondelix
