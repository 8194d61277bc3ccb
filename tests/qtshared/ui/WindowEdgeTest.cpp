#include "qtshared/WindowEdge.h"

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

} // namespace
} // namespace rondelix
