#include "overlay/OverlayController.h"
#include "overlay/WheelState.h"
#include "overlay/ui/OverlayPanel.h"
#include "overlay/ui/QtEscapeMonitor.h"
#include "platform/linux/DesktopCoordinates.h"
#include "platform/linux/LinuxAccessibility.h"
#include "platform/linux/QtMainQueue.h"
#include "platform/linux/QtScreens.h"
#include "platform/sim/SimLog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <cstdlib>
#include <gtest/gtest.h>

using namespace rondelix;
using platform::linux_desktop::QtScreens;

namespace {

QApplication* desktopApplication() {
    if (!std::getenv("DISPLAY")) return nullptr;
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return existing;
    if (QCoreApplication::instance()) return nullptr;
    static int argc = 1;
    static char name[] = "rondelix_linux_tests";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
}

QImage grabScreen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

// Runs the event loop until the check holds or a few seconds pass: the X
// server maps and paints the window on its own time.
template <typename Check> bool waitFor(Check check) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (check()) return true;
        QThread::msleep(10);
    }
    return false;
}

// Stands in for the wheel graphic: a solid ring the test can find on screen.
class RingWheel final : public QWidget {
  public:
    RingWheel(double diameter, QWidget* parent) : QWidget(parent), diameter_(diameter) {
        setAttribute(Qt::WA_TranslucentBackground);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF centre = QRectF(rect()).center();
        painter.setPen(QPen(QColor(10, 132, 255), diameter_ * 0.3));
        painter.drawEllipse(centre, diameter_ * 0.35, diameter_ * 0.35);
    }

  private:
    double diameter_;
};

TEST(OverlayOnScreen, ShowsTheWheelWhereThePointerIs) {
    if (!desktopApplication()) GTEST_SKIP() << "needs an X server";
    platform::sim::SimLog log;
    platform::linux_desktop::QtMainQueue queue;
    QtScreens screens(log);
    platform::linux_desktop::LinuxAccessibility accessibility(log);
    QtEscapeMonitor escape;
    WheelState state;
    Behavior behavior;
    OverlayController controller(
        state, [&] { return behavior; }, {queue, screens, accessibility, escape},
        [](const PanelSpec& spec) {
            return std::make_unique<OverlayPanel>(
                spec, [](double d, QWidget* parent) { return new RingWheel(d, parent); });
        });

    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    const QPoint pointer(desktop.width() / 3, desktop.height() / 2);
    screens.warpPointer(platform::linux_desktop::DesktopCoordinates::fromQt(pointer));
    ASSERT_TRUE(waitFor([&] { return QCursor::pos() == pointer; }));
    const QImage before = grabScreen();

    controller.present(behavior.wheelSize, Behavior::Position::cursor, false);
    // On the ring, 0.35 D above the pointer: the wheel's colour once shown.
    const QPoint onRing = pointer - QPoint(0, static_cast<int>(behavior.wheelSize * 0.35));
    const QColor wheelBlue(10, 132, 255);
    const bool shown = waitFor([&] {
        const QColor seen = grabScreen().pixelColor(onRing);
        return std::abs(seen.red() - wheelBlue.red()) + std::abs(seen.blue() - wheelBlue.blue()) < 60;
    });
    const QImage after = grabScreen();
    QDir().mkpath("artifacts");
    after.save("artifacts/overlay-at-pointer.png");

    EXPECT_TRUE(shown) << "the wheel did not appear at the pointer";
    const platform::Rect frame = controller.panel()->frame();
    EXPECT_NEAR(frame.midX(), platform::linux_desktop::DesktopCoordinates::fromQt(pointer).x, 1);
    EXPECT_NEAR(frame.midY(), platform::linux_desktop::DesktopCoordinates::fromQt(pointer).y, 1);
    // Well outside the panel nothing changed.
    const QPoint farAway = pointer + QPoint(static_cast<int>(frame.width), 0);
    EXPECT_EQ(after.pixelColor(farAway), before.pixelColor(farAway));

    controller.hide();
    EXPECT_TRUE(waitFor([&] { return grabScreen().pixelColor(onRing) == before.pixelColor(onRing); }));
}

} // namespace
