// The desktop's reduced-motion setting, told by a stand-in settings portal
// while the program runs: the summoned wheel opens on its spring while the
// desktop animates, and whole at once after the desktop asks for less motion.

#include "EndToEndRig.h"
#include "platform/linux/PortalStandIn.h"

#include <iostream>

namespace rondelix {
namespace {

using namespace e2e;

// The widths of the wheel in the frames grabbed while it opens, from the
// first that shows it until it has stood still for a while; the wheel is
// let go then, and gone from the screen when this returns.
std::vector<int> openingWidths(QPoint pointer, const QImage& desk) {
    std::vector<int> widths;
    xdotool("keydown Alt_L Super_L");
    auto since = Clock::now();
    waitServing(
        [&] {
            const QRect area = changedArea(desk, grabScreen(), pointer);
            if (area.width() < 100) return false;
            if (widths.empty() || area.width() != widths.back()) since = Clock::now();
            widths.push_back(area.width());
            return Clock::now() - since >= std::chrono::milliseconds(300);
        },
        patience);
    xdotool("keyup Super_L Alt_L");
    EXPECT_TRUE(waitServing([&] { return changedArea(desk, grabScreen(), pointer).width() < 100; }, patience))
        << "the wheel stayed";
    return widths;
}

TEST_F(EndToEnd, TheWheelOpensWithoutItsSpringOnceTheDesktopAsksForLessMotion) {
    SessionBus bus;
    ASSERT_FALSE(bus.address.empty()) << "dbus-daemon did not start (scripts/setup installs it)";
    testing::PortalStandIn portal(QString::fromStdString(bus.address));
    portal.values["org.gnome.desktop.interface"] = {{"enable-animations", true}};
    ASSERT_TRUE(portal.start());
    Program program(home.path, "reduced-motion");
    ASSERT_TRUE(waitServing([&] { return program.hasLine("Rondelix: ready."); }, patience)) << program.log();
    ASSERT_TRUE(moveMainWindowAside());
    const QPoint pointer(800, 520);
    movePointer(pointer);
    const QImage desk = stillScreen(wheelRoom(pointer));

    const auto smallerFrames = [](const std::vector<int>& widths) {
        return std::count_if(widths.begin(), widths.end(), [&](int w) { return w < widths.back() - 6; });
    };
    const std::vector<int> springing = openingWidths(pointer, desk);
    ASSERT_FALSE(springing.empty()) << program.log();
    EXPECT_GE(smallerFrames(springing), 1) << "no frame of the spring was seen";

    // The program hears of the change on its own time and shows it only in
    // how the next wheel opens: wheels are opened until one opens whole.
    portal.change("org.gnome.desktop.interface", "enable-animations", false);
    std::vector<int> still;
    waitServing(
        [&] {
            still = openingWidths(pointer, desk);
            return !still.empty() && smallerFrames(still) == 0;
        },
        patience);
    ASSERT_FALSE(still.empty()) << program.log();
    std::cout << "[ measured ] frames smaller than the whole wheel: " << smallerFrames(springing) << " of "
              << springing.size() << " on the spring, " << smallerFrames(still) << " of " << still.size()
              << " with less motion\n";
    EXPECT_EQ(smallerFrames(still), 0) << "the wheel still grew after the desktop asked for less motion";
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix
