#include "qtshared/TabScrollArea.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

// A field, then a scroll area that holds a column taller than its view (one
// stop for the keyboard, as the wheel pills are) and a field below it. Made
// in Tab order.
struct Window {
    Window() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(before);
        auto* content = new QWidget;
        auto* inner = new QVBoxLayout(content);
        list->setFocusPolicy(Qt::StrongFocus);
        list->setFixedHeight(900);
        inner->addWidget(list);
        inner->addWidget(below);
        area->setWidget(content);
        area->setWidgetResizable(true);
        area->setFixedHeight(200);
        area->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(area);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    int scrolled() const { return area->verticalScrollBar()->value(); }

    QWidget window;
    QLineEdit* before = new QLineEdit;
    TabScrollArea* area = new TabScrollArea;
    QWidget* list = new QWidget;
    QLineEdit* below = new QLineEdit;
};

TEST(TabScrollArea, FocusLeavingTheAreaLeavesItScrolledWhereItWas) {
    Window w;
    w.list->setFocus();
    ASSERT_EQ(w.scrolled(), 0);
    QTest::keyClick(w.list, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_TRUE(w.before->hasFocus());
    EXPECT_EQ(w.scrolled(), 0) << "the column's top stays in sight";
}

TEST(TabScrollArea, FocusMovingInsideTheAreaBringsTheNewStopIntoSight) {
    Window w;
    w.list->setFocus();
    QTest::keyClick(w.list, Qt::Key_Tab);
    ASSERT_TRUE(w.below->hasFocus());
    EXPECT_GT(w.scrolled(), 0);
    EXPECT_TRUE(w.area->viewport()->rect().contains(w.below->mapTo(w.area->viewport(), QPoint(0, 0))));
}

} // namespace
} // namespace rondelix
