// The wheel's fade on close, watched frame by frame on the test server (no
// compositor) and on a server of its own under picom.

#include "EndToEndRig.h"

#include <QEasingCurve>
#include <QPainter>
#include <iostream>

namespace rondelix {
namespace {

using namespace e2e;

constexpr int fadeMs = 500;

// A grab of the screen and when it was taken, in seconds after the release:
// begun at `seconds`, done at `done`.
struct Frame {
    double seconds = 0;
    QImage image;
    double done = 0;
};

// How much of the wheel a grab shows in the box: 1 as when it was fully up,
// 0 as the desktop before it came.
double shownIn(const QImage& grab, const QImage& desk, const QImage& full, const QRect& box) {
    double seen = 0, whole = 0;
    for (int y = box.top(); y <= box.bottom(); y += 2)
        for (int x = box.left(); x <= box.right(); x += 2) {
            const int under = qGray(desk.pixel(x, y));
            seen += std::abs(qGray(grab.pixel(x, y)) - under);
            whole += std::abs(qGray(full.pixel(x, y)) - under);
        }
    return whole > 0 ? seen / whole : 0;
}

// Grabs until the wheel has gone from the box, or the patience runs out.
std::vector<Frame> watchClose(const std::function<QImage()>& grab, const QImage& desk, const QImage& full,
                              const QRect& box, const std::function<void()>& release) {
    std::vector<Frame> frames;
    const auto released = Clock::now();
    const auto since = [&] { return std::chrono::duration<double>(Clock::now() - released).count(); };
    release();
    while (since() < patience) {
        const double begun = since();
        QImage image = grab();
        frames.push_back({begun, image, since()});
        if (shownIn(image, desk, full, box) < 0.02) break;
    }
    return frames;
}

// The open wheel, then up to seven frames spread over the closing, side by
// side with their times, for people to look at.
void saveFrames(const QImage& open, const std::vector<Frame>& frames, const QRect& box, const QString& name) {
    std::vector<std::pair<QString, QImage>> cells{{"open", open}};
    const int spread = std::min<int>(7, static_cast<int>(frames.size()));
    for (int i = 0; i < spread; ++i) {
        const double at = spread > 1 ? frames.back().seconds * i / (spread - 1) : frames.back().seconds;
        const auto nearest =
            std::min_element(frames.begin(), frames.end(), [at](const Frame& a, const Frame& b) {
                return std::abs(a.seconds - at) < std::abs(b.seconds - at);
            });
        cells.emplace_back(QString("%1 ms").arg(std::lround(nearest->seconds * 1000)), nearest->image);
    }
    QImage sheet(box.width() * static_cast<int>(cells.size()), box.height() + 20, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int x = static_cast<int>(i) * box.width();
        painter.drawImage(x, 20, cells[i].second.copy(box));
        painter.drawText(x + 4, 15, cells[i].first);
    }
    painter.end();
    sheet.save(artifact(name.toStdString()));
}

void writeCloseFade(const TestHome& home) {
    Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    config.behavior.closeFadeEnabled = true;
    config.behavior.closeFadeMs = fadeMs;
    writeFile(home.configFolder() / "config.json", writeConfigFile(config));
}

// Without a compositor a window cannot be see-through: the wheel closes at
// once rather than standing fully drawn for the fade's time. That the
// program closes at once where the desktop reports no compositor is
// OverlayControllerTest's, on the virtual clock; here the desktop layer must
// find none, and the wheel goes. How long it took is printed: the time a
// grab takes on a busy machine says nothing about the program.
TEST_F(EndToEnd, WithoutACompositorTheFadingWheelClosesAtOnce) {
    writeCloseFade(home);
    Program program(home.path);
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    const QPoint pointer(800, 520);
    ASSERT_TRUE(moveMainWindowAside());
    movePointer(pointer);
    const QImage desk = stillScreen(wheelRoom(pointer));
    const QRect wheel = summonAt(pointer, "fade-out-open.png");
    ASSERT_GE(wheel.width(), 300) << program.log();
    const QImage full = grabScreen();
    const QRect box = wheel.adjusted(20, 20, -20, -20);
    const auto frames = watchClose(grabScreen, desk, full, box, [this] { release(); });
    saveFrames(full, frames, wheel, "fade-out-frames.png");
    ASSERT_FALSE(frames.empty());
    std::cout << "[ measured ] gone " << std::lround(frames.back().seconds * 1000)
              << " ms after the release\n";
    EXPECT_LT(shownIn(frames.back().image, desk, full, box), 0.02);
    EXPECT_TRUE(program.hasLine("no compositor is running; the wheel is drawn opaque.")) << program.log();
}

// Under a compositor the wheel fades over the set time, every frame a little
// fainter, as the ease-out curve says.
TEST_F(EndToEnd, UnderACompositorTheWheelFadesOutOverTheSetTime) {
    ASSERT_TRUE(Compositor::installed()) << "picom is not installed: scripts/setup installs it";
    writeCloseFade(home);
    const PrivateDisplay display(home.path);
    ASSERT_FALSE(display.name.empty()) << "no private X server: Xvfb did not start";
    Compositor picom(display, home.path);
    ASSERT_TRUE(picom.start()) << picom.said();

    Program program(home.path, "composited", {}, display.environment());
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    ASSERT_TRUE(display.moveMainWindowAside());
    display.xdotool("mousemove 512 384");
    // The desktop at rest under the pointer.
    const QImage desk = steady([&] { return display.grab(); }).value;
    display.xdotool("keydown Alt_L Super_L");
    const QRect wheel(512 - 170, 384 - 170, 340, 340);
    // The ring, clear of the hub's changing label.
    const QRect box(512 - 150, 384 - 150, 90, 300);
    // Open once the ring shows and has stood still for a while.
    const auto [full, shown] =
        steady([&] { return display.grab(); }, std::chrono::milliseconds(250),
               [&](const QImage& screen) { return screen.copy(box) != desk.copy(box); });
    ASSERT_TRUE(shown) << program.log();
    const auto frames = watchClose([&] { return display.grab(); }, desk, full, box,
                                   [&] { display.xdotool("keyup Super_L Alt_L"); });
    saveFrames(full, frames, wheel, "fade-out-frames-compositor.png");
    ASSERT_FALSE(frames.empty());

    // No frame shows less than the curve leaves of the wheel by the time its
    // grab was done, and none shows more than the one before. A program or a
    // compositor starved of time shows a frame late, never early, so only
    // that side holds whatever else the machine does; how closely the
    // frames keep to the curve is printed.
    QEasingCurve easeOut(QEasingCurve::BezierSpline);
    easeOut.addCubicBezierSegment({0.0, 0.0}, {0.58, 1.0}, {1.0, 1.0});
    const auto left = [&](double seconds) {
        return 1 - easeOut.valueForProgress(std::clamp(seconds * 1000 / fadeMs, 0.0, 1.0));
    };
    int between = 0;
    double before = 1, behind = 0;
    for (const Frame& frame : frames) {
        const double seen = shownIn(frame.image, desk, full, box);
        const long ms = std::lround(frame.seconds * 1000);
        EXPECT_GE(seen, left(frame.done) - 0.1) << ms << " ms";
        EXPECT_LE(seen, before + 0.05) << ms << " ms";
        behind = std::max(behind, seen - left(frame.seconds));
        // A grab that shows the same as the last one saw no new frame.
        if (seen > 0.1 && seen < 0.9 && seen != before) ++between;
        before = seen;
    }
    std::cout << "[ measured ] " << between << " frames seen between the full wheel and none; at most "
              << std::lround(behind * 100) << "% of the wheel more than the curve leaves; gone "
              << std::lround(frames.back().seconds * 1000) << " ms after the release\n";
    EXPECT_GE(between, 5) << "too few frames between the full wheel and none";
    EXPECT_LT(shownIn(frames.back().image, desk, full, box), 0.02);
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix
