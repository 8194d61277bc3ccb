#include "icons/ui/SymbolGridPicker.h"

#include "icons/SymbolCatalog.h"
#include "icons/ui/IconViewArtifacts.h"

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
