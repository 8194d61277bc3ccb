#include "icons/ui/SymbolGridPicker.h"

#include "icons/SymbolCatalog.h"
#include "icons/ui/IconViewArtifacts.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace rondelix;

namespace {

struct PickerRig {
    std::vector<std::string> picks;
    SymbolGridPicker picker{[this](const std::string& name) { picks.push_back(name); }};

    PickerRig() {
        picker.show();
        QApplication::setActiveWindow(&picker);
    }
    QLineEdit* search() { return picker.findChild<QLineEdit*>(QStringLiteral("symbolSearch")); }
    QListView* grid() { return picker.findChild<QListView*>(QStringLiteral("symbolGrid")); }
    QString count() { return picker.findChild<QLabel*>(QStringLiteral("symbolCount"))->text(); }
    QToolButton* clear() { return picker.findChild<QToolButton*>(QStringLiteral("symbolClear")); }
    void clickCell(int row) {
        const QRect cell = grid()->visualRect(grid()->model()->index(row, 0));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cell.center());
    }
};

TEST(SymbolGridPicker, TypingFiltersTheGridAndTheCount) {
    PickerRig rig;
    EXPECT_EQ(rig.picker.size(), QSize(540, 480));
    EXPECT_EQ(rig.search()->placeholderText(), QStringLiteral("Search symbols (e.g. bolt, folder, play)"));
    EXPECT_EQ(rig.picker.shownNames().size(), SymbolCatalog::all().size());
    EXPECT_EQ(rig.count(), QStringLiteral("387 symbols"));
    EXPECT_FALSE(rig.clear()->isVisible());

    struct Case {
        QString typed;
        QString count;
    };
    for (const Case& c :
         {Case{QStringLiteral(" Bolt"), QString()}, Case{QStringLiteral("powersleep"), "1 symbol"},
          Case{QStringLiteral("zzzz"), "0 symbols"}, Case{QStringLiteral("cloud.s"), "2 symbols"}}) {
        rig.search()->clear();
        QTest::keyClicks(rig.search(), c.typed);
        const auto expected = SymbolCatalog::filter(SymbolCatalog::all(), c.typed.toStdString());
        EXPECT_EQ(rig.picker.shownNames(), expected) << c.typed.toStdString();
        EXPECT_EQ(rig.grid()->model()->rowCount(), static_cast<int>(expected.size()));
        if (!c.count.isEmpty()) {
            EXPECT_EQ(rig.count(), c.count) << c.typed.toStdString();
        }
        EXPECT_TRUE(rig.clear()->isVisible());
    }
    for (const auto& name : rig.picker.shownNames())
        EXPECT_NE(name.find("cloud.s"), std::string::npos);

    QTest::mouseClick(rig.clear(), Qt::LeftButton);
    EXPECT_TRUE(rig.search()->text().isEmpty());
    EXPECT_FALSE(rig.clear()->isVisible());
    EXPECT_EQ(rig.count(), QStringLiteral("387 symbols"));
}

TEST(SymbolGridPicker, ACellCarriesItsNameAsTooltip) {
    PickerRig rig;
    QTest::keyClicks(rig.search(), QStringLiteral("bolt.fill"));
    ASSERT_EQ(rig.picker.shownNames(), (std::vector<std::string>{"bolt.fill"}));
    EXPECT_EQ(rig.grid()->model()->index(0, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("bolt.fill"));
    EXPECT_EQ(rig.grid()->visualRect(rig.grid()->model()->index(0, 0)).size(), QSize(46, 46));
    rig.search()->clear();
    const QRect first = rig.grid()->visualRect(rig.grid()->model()->index(0, 0));
    const QRect second = rig.grid()->visualRect(rig.grid()->model()->index(1, 0));
    EXPECT_EQ(second.left() - first.left(), 46 + 8) << "cells 8 apart";
}

// What a screen reader hears of the picker: every control the keys reach has
// a name, and no cell names another system.
TEST(SymbolGridPicker, EveryFocusableControlAndEveryCellHasAPlainName) {
    PickerRig rig;
    QTest::keyClicks(rig.search(), QStringLiteral("o"));
    ASSERT_TRUE(rig.clear()->isVisible());
    int focusable = 0;
    for (QWidget* control : rig.picker.findChildren<QWidget*>()) {
        if (!control->isVisible() || !(control->focusPolicy() & Qt::TabFocus)) continue;
        ++focusable;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_TRUE(accessible);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << control->metaObject()->className();
    }
    EXPECT_EQ(focusable, 4) << "search, clear, grid, Cancel";
    EXPECT_EQ(QAccessible::queryAccessibleInterface(rig.clear())->text(QAccessible::Name).toStdString(),
              "Clear search");

    rig.search()->clear();
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(rig.grid());
    ASSERT_EQ(grid->childCount(), static_cast<int>(SymbolCatalog::all().size()));
    for (int i = 0; i < grid->childCount(); ++i) {
        const QString heard = grid->child(i)->text(QAccessible::Name);
        const QString tip = rig.grid()->model()->index(i, 0).data(Qt::ToolTipRole).toString();
        for (const char* word : {"mac", "safari", "command", "option"}) {
            EXPECT_FALSE(heard.contains(QLatin1String(word), Qt::CaseInsensitive)) << heard.toStdString();
            EXPECT_FALSE(tip.contains(QLatin1String(word), Qt::CaseInsensitive)) << tip.toStdString();
        }
    }
}

TEST(SymbolGridPicker, AClickPicksOnceAndCloses) {
    PickerRig rig;
    EXPECT_TRUE(rondelix::testsupport::saveIconArtifact(rig.picker.grab().toImage(),
                                                        QStringLiteral("symbol-picker.png")));
    QTest::keyClicks(rig.search(), QStringLiteral("folder"));
    const std::string first = rig.picker.shownNames().front();
    rig.clickCell(0);
    rig.clickCell(0);
    EXPECT_EQ(rig.picks, std::vector<std::string>{first});
    EXPECT_FALSE(rig.picker.isVisible());
    EXPECT_EQ(rig.picker.result(), QDialog::Accepted);
}

// From the search, Down enters the grid on its first cell; the arrows move the
// current cell, drawn as such, and Return or Space picks it.
TEST(SymbolGridPicker, TheKeyboardMovesTheCurrentCellAndPicksIt) {
    struct Case {
        std::vector<Qt::Key> keys;
        int right;
        int down;
    };
    for (const Case& c : {Case{{Qt::Key_Return}, 0, 0}, Case{{Qt::Key_Right, Qt::Key_Space}, 1, 0},
                          Case{{Qt::Key_Right, Qt::Key_Down, Qt::Key_Enter}, 1, 1},
                          Case{{Qt::Key_Down, Qt::Key_Right, Qt::Key_Left, Qt::Key_Return}, 0, 1}}) {
        PickerRig rig;
        const QImage unfocused = rig.grid()->grab().toImage();
        QTest::keyClick(rig.search(), Qt::Key_Down);
        ASSERT_TRUE(rig.grid()->hasFocus());
        EXPECT_EQ(rig.grid()->currentIndex().row(), 0);
        EXPECT_NE(rig.grid()->grab().toImage(), unfocused) << "the current cell is drawn";
        for (std::size_t i = 0; i + 1 < c.keys.size(); ++i)
            QTest::keyClick(rig.grid(), c.keys[i]);
        const QPoint step = rig.grid()->gridSize().rheight() * QPoint(0, c.down) +
                            rig.grid()->gridSize().rwidth() * QPoint(c.right, 0);
        const QModelIndex expected =
            rig.grid()->indexAt(rig.grid()->visualRect(rig.grid()->model()->index(0, 0)).center() + step);
        EXPECT_EQ(rig.grid()->currentIndex(), expected);
        if (c.right == 1 && c.down == 1) {
            EXPECT_TRUE(rondelix::testsupport::saveIconArtifact(
                rig.picker.grab().toImage(), QStringLiteral("symbol-picker-current-cell.png")));
        }
        QTest::keyClick(rig.grid(), c.keys.back());
        EXPECT_EQ(rig.picks, std::vector<std::string>{
                                 rig.picker.shownNames()[static_cast<std::size_t>(expected.row())]});
        EXPECT_EQ(rig.picker.result(), QDialog::Accepted);
    }

    PickerRig rig;
    QTest::keyClick(rig.search(), Qt::Key_Down);
    QTest::keyClick(rig.grid(), Qt::Key_Escape);
    EXPECT_FALSE(rig.picker.isVisible());
    EXPECT_TRUE(rig.picks.empty());
}

TEST(SymbolGridPicker, EscapeAndCancelCloseWithoutAPick) {
    PickerRig rig;
    QTest::keyClicks(rig.search(), QStringLiteral("star"));
    QTest::keyClick(rig.search(), Qt::Key_Escape);
    EXPECT_FALSE(rig.picker.isVisible());
    EXPECT_EQ(rig.picker.result(), QDialog::Rejected);

    // A new showing starts with an empty search.
    rig.picker.show();
    EXPECT_TRUE(rig.search()->text().isEmpty());
    EXPECT_EQ(rig.count(), QStringLiteral("387 symbols"));
    QTest::mouseClick(rig.picker.findChild<QPushButton*>(QStringLiteral("symbolCancel")), Qt::LeftButton);
    EXPECT_FALSE(rig.picker.isVisible());
    EXPECT_TRUE(rig.picks.empty());

    rig.picker.show();
    rig.clickCell(3);
    EXPECT_EQ(rig.picks.size(), 1u) << "a later showing picks again";
}

} // namespace
