// Windows on a display that no window manager frames.

#include "EndToEndRig.h"

#include <cstdlib>

namespace rondelix {
namespace {

using namespace e2e;

int distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

// The setup window opens over the main window; along each of its sides the
// outermost pixels stand out from the window's own background just inside.
TEST_F(EndToEnd, ASideWindowWithoutAWindowManagerDrawsItsOwnEdge) {
    home.setTopSlotAction(MacroAction::SystemAction{"toggle-bluetooth"});
    Program program(home.path, "edge");
    ASSERT_FALSE(readyMainWindow(program).empty()) << program.log();
    ASSERT_TRUE(fireTopSlot(program, "edge-fired.png"));
    const std::string id = windowNamed("System Action Setup");
    ASSERT_FALSE(id.empty()) << program.log();
    const QRect frame = windowGeometry(id);
    const QImage screen = stillScreen(frame.adjusted(-20, -20, 20, 20));
    screen.copy(frame.adjusted(-20, -20, 20, 20)).save(artifact("edge-setup-window.png"));

    // Down the sides beside the header and the footer (the card list in
    // between reaches the sides), and along the top and bottom.
    int bare = 0, checked = 0;
    const auto side = [&](int y) {
        bare += distance(screen.pixel(frame.left(), y), screen.pixel(frame.left() + 3, y)) < 60;
        bare += distance(screen.pixel(frame.right(), y), screen.pixel(frame.right() - 3, y)) < 60;
        checked += 2;
    };
    for (int y = frame.top() + 10; y < frame.top() + 140; y += 10)
        side(y);
    for (int y = frame.bottom() - 50; y < frame.bottom() - 5; y += 10)
        side(y);
    for (int x = frame.left() + 10; x < frame.right() - 10; x += 20) {
        bare += distance(screen.pixel(x, frame.top()), screen.pixel(x, frame.top() + 3)) < 60;
        bare += distance(screen.pixel(x, frame.bottom()), screen.pixel(x, frame.bottom() - 3)) < 60;
        checked += 2;
    }
    EXPECT_EQ(bare, 0) << "of " << checked << " edge pixels, " << bare << " match the background";
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix
