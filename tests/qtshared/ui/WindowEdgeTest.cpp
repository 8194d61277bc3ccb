#include "qtshared/WindowEdge.h"

#include <QApplication>
#include <QBackingStore>
#include <QEvent>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

// Counts the paint events a widget gets.
class PaintCounter final : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST(WindowEdge, RepaintsInsideTheWindowLeaveTheLineAloneAndTheLineStaysDrawn) {
    const WindowEdge edge([] { return false; });
    QWidget window;
    window.resize(300, 200);
    auto* content = new QWidget(&window);
    content->setGeometry(window.rect());
    window.show();
    QApplication::processEvents();
    auto* line = window.findChild<QWidget*>(QStringLiteral("windowEdge"), Qt::FindDirectChildrenOnly);
    ASSERT_NE(line, nullptr);
    PaintCounter counter;
    line->installEventFilter(&counter);

    struct Row {
        QRect repainted;
        bool linePainted;
    };
    for (const Row& row : {
             Row{{40, 40, 200, 120}, false},
             Row{{1, 1, 298, 198}, false},
             Row{{0, 50, 20, 20}, true},
             Row{{100, 199, 10, 1}, true},
         }) {
        counter.paints = 0;
        content->repaint(row.repainted);
        EXPECT_EQ(counter.paints > 0, row.linePainted) << row.repainted.x() << "," << row.repainted.y();
    }

    // What the window shows after those repaints: the line all round it,
    // whole where a repaint cut across it.
    QPaintDevice* store = window.backingStore()->paintDevice();
    ASSERT_EQ(store->devType(), QInternal::Image);
    const QImage shown = *static_cast<QImage*>(store);
    const QRgb inside = shown.pixel(150, 100);
    const QRgb drawn = shown.pixel(0, 0);
    EXPECT_NE(drawn, inside);
    for (const QPoint& p : {QPoint(150, 0), QPoint(299, 100), QPoint(150, 199), QPoint(0, 60), QPoint(0, 49),
                            QPoint(0, 70), QPoint(105, 199), QPoint(299, 199)})
        EXPECT_EQ(shown.pixel(p), drawn) << p.x() << "," << p.y();
    for (const QPoint& p : {QPoint(1, 1), QPoint(1, 60), QPoint(105, 198), QPoint(298, 100)})
        EXPECT_EQ(shown.pixel(p), inside) << p.x() << "," << p.y();
}

} // namespace
} // namespace rondelix
