#include "qtshared/WindowEdge.h"

#include <QApplication>
#include <QBackingStore>
#include <QEvent>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

QWidget* edgeOf(const QWidget& window) {
    return window.findChild<QWidget*>("windowEdge", Qt::FindDirectChildrenOnly);
}

bool edged(const QWidget& window) {
    const QWidget* edge = edgeOf(window);
    return edge && edge->isVisible();
}

TEST(WindowEdge, OnlyWindowsNoManagerFramesGetTheLine) {
    bool managerRuns = false;
    WindowEdge edge([&] { return managerRuns; });
    struct Case {
        const char* what;
        Qt::WindowFlags flags;
        bool managerRuns, edged;
    };
    for (const Case& c : {
             Case{"a window, no manager", Qt::Window, false, true},
             Case{"a dialog, no manager", Qt::Dialog, false, true},
             Case{"a window a manager frames", Qt::Window, true, false},
             Case{"a frameless window", Qt::Window | Qt::FramelessWindowHint, false, false},
             Case{"a window past the manager", Qt::Window | Qt::BypassWindowManagerHint, false, false},
             Case{"a tool tip", Qt::ToolTip, false, false},
         }) {
        managerRuns = c.managerRuns;
        QWidget window(nullptr, c.flags);
        window.resize(200, 120);
        window.show();
        EXPECT_EQ(edged(window), c.edged) << c.what;
    }
}

// A manager started while the program runs frames the window from its next
// showing on; the line would then stand inside the frame.
TEST(WindowEdge, AManagerStartedLaterTakesTheLineAwayAtTheNextShowing) {
    bool managerRuns = false;
    WindowEdge edge([&] { return managerRuns; });
    QWidget window;
    window.resize(200, 120);
    window.show();
    ASSERT_TRUE(edged(window));
    window.hide();
    managerRuns = true;
    window.show();
    EXPECT_FALSE(edged(window));
}

// The line lies over the whole window, above content added or grown later.
TEST(WindowEdge, TheLineFollowsTheWindowsSizeAndStaysAboveLaterContent) {
    WindowEdge edge([] { return false; });
    QWidget window;
    window.resize(200, 120);
    window.show();
    window.resize(320, 180);
    auto* cover = new QWidget(&window);
    cover->setAutoFillBackground(true);
    QPalette red = cover->palette();
    red.setColor(QPalette::Window, Qt::red);
    cover->setPalette(red);
    cover->setGeometry(window.rect());
    cover->show();
    ASSERT_TRUE(edgeOf(window));
    EXPECT_EQ(edgeOf(window)->geometry(), window.rect());
    const QImage shot = window.grab().toImage();
    for (const QPoint corner : {QPoint(0, 0), QPoint(319, 179), QPoint(160, 0), QPoint(0, 90)})
        EXPECT_NE(shot.pixelColor(corner), QColor(Qt::red)) << corner.x() << "," << corner.y();
    EXPECT_EQ(shot.pixelColor(160, 90), QColor(Qt::red));
}

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
    QWidget* line = edgeOf(window);
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
