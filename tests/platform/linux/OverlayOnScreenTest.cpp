#include "model/DefaultConfig.h"
#include "model/WheelState.h"
#include "overlay/HUD.h"
#include "overlay/OpenAnimation.h"
#include "overlay/OverlayController.h"
#include "overlay/ui/DragHandleView.h"
#include "overlay/ui/HUDWindow.h"
#include "overlay/ui/OverlayPanel.h"
#include "overlay/ui/QtEscapeMonitor.h"
#include "overlay/ui/SliceIconSources.h"
#include "overlay/ui/WheelView.h"
#include "platform/linux/DesktopApplication.h"
#include "platform/linux/desktop/LinuxAccessibility.h"
#include "platform/linux/qt/QtMainQueue.h"
#include "platform/linux/qt/QtScreens.h"
#include "platform/sim/SimLog.h"
#include "qtshared/DesktopCoordinates.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QBackingStore>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QToolButton>
#include <QWindow>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

using namespace rondelix;
using platform::linux_desktop::QtScreens;

namespace {

QApplication* desktopApplication() {
    if (!std::getenv("DISPLAY")) return nullptr;
    return rondelix::testing::desktopApplication();
}

QImage grabScreen() {
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

// Runs the event loop until the check holds or the patience runs out: the
// X server maps and paints the window on its own time, which on a machine
// busy with other work can be seconds. Only a failing check waits it out.
template <typename Check> bool waitFor(Check check) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (check()) return true;
        QThread::msleep(10);
    }
    return false;
}

// Where a screen grab is kept for people to look at: the artifacts folder
// beside the test program.
QString artifactPath(const QString& name) {
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/artifacts");
    QDir().mkpath(folder);
    return folder + QLatin1Char('/') + name;
}

// The bounding box of the pixels that differ between two grabs.
QRect changedArea(const QImage& before, const QImage& after) {
    QRect area;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y)) area |= QRect(x, y, 1, 1);
    return area;
}

class OverlayOnScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!desktopApplication()) GTEST_SKIP() << "needs an X server";
        controller = std::make_unique<OverlayController>(
            state, [this] { return behavior; },
            OverlayController::Services{queue, screens, accessibility, escape},
            [this](const PanelOptions& options) {
                return std::make_unique<OverlayPanel>(options, [this](double d, QWidget* parent) {
                    return new WheelView(state, DefaultConfig::factoryConfig, icons, d, parent);
                });
            });
    }

    platform::sim::SimLog log;
    platform::linux_desktop::QtMainQueue queue;
    QtScreens screens{log};
    platform::linux_desktop::LinuxAccessibility accessibility{log};
    QtEscapeMonitor escape;
    WheelState state;
    SliceIconSources icons;
    Behavior behavior;
    std::unique_ptr<OverlayController> controller;
};

TEST_F(OverlayOnScreen, ShowsTheWheelWhereThePointerIs) {
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    const QPoint pointer(desktop.width() / 3, desktop.height() / 2);
    screens.warpPointer(DesktopCoordinates::fromQt(pointer));
    ASSERT_TRUE(waitFor([&] { return QCursor::pos() == pointer; }));
    const QImage before = grabScreen();

    state.setAimedPosition(1);
    controller->present(behavior.wheelSize, Behavior::Position::cursor, false);
    // The disc is D across; the panel's margin is transparent (or shaped away).
    const int diameter = static_cast<int>(behavior.wheelSize);
    QImage after;
    QRect drawn;
    const bool shown = waitFor([&] {
        after = grabScreen();
        drawn = changedArea(before, after);
        return drawn.width() >= diameter - 4 && drawn.height() >= diameter - 4;
    });
    after.save(artifactPath("overlay-at-pointer.png"));

    ASSERT_TRUE(shown) << "the wheel did not appear; changed area " << drawn.width() << "x" << drawn.height();
    EXPECT_NEAR(drawn.center().x(), pointer.x(), 3);
    EXPECT_NEAR(drawn.center().y(), pointer.y(), 3);
    EXPECT_LE(drawn.width(), static_cast<int>(PanelGeometry{behavior.wheelSize}.side()));
    EXPECT_TRUE(state.isVisible());

    controller->hide();
    EXPECT_TRUE(waitFor([&] { return changedArea(before, grabScreen()).isEmpty(); }));
}

TEST_F(OverlayOnScreen, TestWheelCarriesItsHandleAndEndsOnEscOrClose) {
    int escapes = 0;
    controller->onTestEscape = [&] {
        ++escapes;
        controller->setTestModeActive(false);
        controller->removeTestEscMonitor();
        controller->hide();
    };
    const QImage before = grabScreen();
    controller->setTestMode(true);
    // The handle sits above the disc with its red close button, once the
    // open spring has settled.
    const PanelGeometry geometry{behavior.wheelSize};
    const platform::Rect handle = geometry.dragHandle();
    // Read where the panel is each time: on a busy machine it can still be
    // on its way from where the prewarm left it.
    ASSERT_TRUE(waitFor([&] {
        const QPoint closeButton = DesktopCoordinates::toQt(controller->panel()->frame()).topLeft() +
                                   QPoint(static_cast<int>(handle.x + 6 + 7),
                                          static_cast<int>(geometry.side() - handle.maxY() + 13));
        const QColor seen = grabScreen().pixelColor(closeButton);
        return seen.red() > 200 && seen.green() < 120;
    }));
    grabScreen().save(artifactPath("overlay-test-mode.png"));

    // Esc pressed in one of the program's windows ends test mode and stops there.
    struct KeyCatcher final : QWidget {
        int keys = 0;
        void keyPressEvent(QKeyEvent*) override { ++keys; }
    } settingsWindow;
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&settingsWindow, &esc);
    EXPECT_EQ(escapes, 1);
    EXPECT_EQ(settingsWindow.keys, 0);
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&settingsWindow, &other);
    EXPECT_EQ(settingsWindow.keys, 1);
    EXPECT_TRUE(waitFor([&] { return changedArea(before, grabScreen()).isEmpty(); }));

    // The handle's close button does the same.
    controller->setTestMode(true);
    auto* panel = dynamic_cast<const OverlayPanel*>(controller->panel());
    ASSERT_NE(panel, nullptr);
    panel->dragHandle()->closeButton()->click();
    EXPECT_EQ(escapes, 2);
}

// Moves every animation of the program on only when told, so that the
// opening can be looked at one frame at a time.
class SteppedAnimationClock final : public QAnimationDriver {
  public:
    void step(qint64 ms) {
        elapsed_ += ms;
        advance();
    }
    qint64 elapsed() const override { return elapsed_; }

  private:
    qint64 elapsed_ = 0;
};

// How far two images of the same size and format (32-bit RGB) differ, on
// average per colour channel, over the pixels `inside` accepts.
double meanDifference(const QImage& a, const QImage& b, const std::function<bool(QPoint)>& inside) {
    double sum = 0;
    long count = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (!inside({x, y})) continue;
            sum += std::abs(qRed(p[x]) - qRed(q[x])) + std::abs(qGreen(p[x]) - qGreen(q[x])) +
                   std::abs(qBlue(p[x]) - qBlue(q[x]));
            count += 3;
        }
    }
    return count ? sum / static_cast<double>(count) : 0;
}

// Without a compositor the window cannot fade in; each frame of the spring
// must show the whole wheel at that frame's scale, over the untouched desktop.
TEST_F(OverlayOnScreen, EveryFrameOfTheOpeningShowsTheWholeWheelWithoutACompositor) {
    if (!screens.displayOptions().reduceTransparency) GTEST_SKIP() << "a compositor is running";
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    const QPoint pointer = desktop.center();
    screens.warpPointer(DesktopCoordinates::fromQt(pointer));
    ASSERT_TRUE(waitFor([&] { return QCursor::pos() == pointer; }));
    const QImage desk = grabScreen();

    // As at start-up: the panel is built and painted unseen before the summon.
    controller->prewarm();
    ASSERT_TRUE(waitFor([&] { return !controller->panel()->isVisible(); }));
    SteppedAnimationClock clock;
    clock.install();
    controller->show(screens.pointerLocation());
    const QRect panel = DesktopCoordinates::toQt(controller->panel()->frame());
    const auto grabPanel = [&] {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, panel.x(), panel.y(), panel.width(), panel.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage deskUnder = desk.copy(panel).convertToFormat(QImage::Format_RGB32);
    std::vector<QImage> frames;
    // The window maps on the X server's time; the clock stands still meanwhile.
    ASSERT_TRUE(waitFor([&] {
        const QImage first = grabPanel();
        if (first == deskUnder) return false;
        frames.push_back(first);
        return true;
    }));
    const OpenAnimation opening{.reduceMotion = false, .wheelDiameter = behavior.wheelSize};
    constexpr int frameMs = 16;
    const int frameCount = static_cast<int>(opening.scaleDuration() * 1000 / frameMs) + 2;
    for (int frame = 1; frame <= frameCount; ++frame) {
        clock.step(frameMs);
        frames.push_back(grabPanel());
    }
    clock.uninstall();

    // The settled wheel, shrunk to each frame's scale, is what that frame shows.
    const QImage rest = frames.back();
    rest.save(artifactPath("overlay-opening-settled.png"));
    const QPointF centre(panel.width() / 2.0, panel.height() / 2.0);
    for (std::size_t frame = 0; frame + 1 < frames.size(); ++frame) {
        const double scale = opening.scaleAt(static_cast<double>(frame) * frameMs / 1000);
        const double radius = scale * behavior.wheelSize / 2;
        QImage expected = deskUnder;
        QPainter painter(&expected);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(centre);
        painter.scale(scale, scale);
        painter.translate(-centre);
        QPainterPath disc;
        disc.addEllipse(centre, behavior.wheelSize / 2, behavior.wheelSize / 2);
        painter.setClipPath(disc);
        painter.drawImage(0, 0, rest);
        painter.end();
        if (frame < 3)
            frames[frame].save(artifactPath(QStringLiteral("overlay-opening-frame-%1.png").arg(frame)));
        const auto distance = [&](QPoint p) {
            return std::hypot(p.x() + 0.5 - centre.x(), p.y() + 0.5 - centre.y());
        };
        EXPECT_LT(meanDifference(frames[frame], expected, [&](QPoint p) { return distance(p) < radius - 3; }),
                  6)
            << "frame " << frame << " at scale " << scale;
        EXPECT_LT(meanDifference(frames[frame], expected, [&](QPoint p) { return distance(p) > radius + 3; }),
                  0.5)
            << "frame " << frame << " shows the window around the disc";
    }
    controller->hide();
}

// A see-through panel repaints each frame of the spring only where the wheel
// was and goes; what it holds then must be what a repaint of all of it gives.
TEST_F(OverlayOnScreen, EachTranslucentOpeningFrameHoldsWhatAWholeRepaintDraws) {
    OverlayPanel panel({.diameter = 360, .glass = false, .opaque = false}, [this](double d, QWidget* parent) {
        return new WheelView(state, DefaultConfig::factoryConfig, icons, d, parent);
    });
    SteppedAnimationClock clock;
    clock.install();
    panel.setAlpha(1.0);
    panel.orderFront();
    ASSERT_TRUE(waitFor([&] { return panel.windowHandle()->isExposed(); }));
    auto* held = dynamic_cast<QImage*>(panel.backingStore()->paintDevice());
    ASSERT_TRUE(held && held->hasAlphaChannel()) << "the server offers no see-through window";
    const OpenAnimation opening{.reduceMotion = false, .wheelDiameter = 360};
    panel.playOpenAnimation(opening);
    for (double t = 0; t < opening.scaleDuration(); t += 0.016) {
        panel.showOpenFrame(t);
        QCoreApplication::processEvents();
        const QImage shown = held->copy();
        panel.repaint();
        EXPECT_EQ(shown, *held) << "at " << t << " s, scale " << opening.scaleAt(t);
    }
    clock.uninstall();
    panel.orderOut();
}

// The prewarm shows the opening's first frame where no screen shows it: the
// desktop stays as it was, yet the window's buffer is made for the summon.
TEST_F(OverlayOnScreen, ThePrewarmPaintsTheWindowWhereNoScreenShowsIt) {
    for (const bool opaque : {true, false}) {
        OverlayPanel panel({.diameter = 320, .glass = false, .opaque = opaque},
                           [this](double d, QWidget* parent) {
                               return new WheelView(state, DefaultConfig::factoryConfig, icons, d, parent);
                           });
        panel.setAlpha(1.0);
        const QImage before = grabScreen();
        panel.prewarm();
        EXPECT_TRUE(panel.isVisible());
        EXPECT_TRUE(waitFor([&] { return panel.backingStore()->size() == panel.size(); }))
            << (opaque ? "opaque" : "see-through") << " panel never painted";
        EXPECT_TRUE(changedArea(before, grabScreen()).isEmpty()) << (opaque ? "opaque" : "see-through");
        panel.orderOut();
    }
}

} // namespace

namespace {

TEST(HUDOnScreen, FlashesABubbleInTheMiddleOfThePointersScreen) {
    if (!desktopApplication()) GTEST_SKIP() << "needs an X server";
    platform::sim::SimLog log;
    platform::linux_desktop::QtMainQueue queue;
    QtScreens screens(log);
    const bool translucent = !screens.displayOptions().reduceTransparency;
    HUD hud(queue, screens, [translucent] { return std::make_unique<HUDWindow>(translucent); });

    const QImage before = grabScreen();
    hud.flash("That action isn't available.", "exclamationmark.triangle.fill", "#FF9F0A");
    QImage after;
    QRect drawn;
    ASSERT_TRUE(waitFor([&] {
        after = grabScreen();
        drawn = changedArea(before, after);
        return drawn.width() > 150;
    }));
    after.save(artifactPath("hud.png"));
    const QPoint middle = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_NEAR(drawn.center().x(), middle.x(), 2);
    EXPECT_NEAR(drawn.center().y(), middle.y(), 2);
    // Gone again after its time, without anyone touching it.
    EXPECT_TRUE(waitFor([&] { return changedArea(before, grabScreen()).isEmpty(); }));
}

} // namespace
