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
// first that shows it until it has stood still for a while.
std::vector<int> openingWidths(QPoint pointer, const QImage& desk) {
    std::vector<int> widths;
    xdotool("keydown Alt_L Super_L");
    const auto pressed = Clock::now();
    while (Clock::now() - pressed < std::chrono::milliseconds(900)) {
        const QRect area = changedArea(desk, grabScreen(), pointer);
        if (area.width() >= 100) widths.push_back(area.width());
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    xdotool("keyup Super_L Alt_L");
    return widths;
}

TEST_F(EndToEnd, TheWheelOpensWithoutItsSpringOnceTheDesktopAsksForLessMotion) {
    SessionBus bus;
    ASSERT_FALSE(bus.address.empty());
    testing::PortalStandIn portal(QString::fromStdString(bus.address));
    portal.values["org.gnome.desktop.interface"] = {{"enable-animations", true}};
    ASSERT_TRUE(portal.start());
    Program program(home.path, "reduced-motion");
    ASSERT_TRUE(waitServing([&] { return program.hasLine("Rondelix: ready."); }, 10)) << program.log();
    ASSERT_TRUE(moveMainWindowAside());
    const QPoint pointer(800, 520);
    xdotool("mousemove 800 520");
    waitServing([] { return false; }, 0.5);
    const QImage desk = grabScreen();

    const auto smallerFrames = [](const std::vector<int>& widths) {
        return std::count_if(widths.begin(), widths.end(), [&](int w) { return w < widths.back() - 6; });
    };
    const std::vector<int> springing = openingWidths(pointer, desk);
    ASSERT_FALSE(springing.empty()) << program.log();
    EXPECT_GE(smallerFrames(springing), 1) << "no frame of the spring was seen";

    portal.change("org.gnome.desktop.interface", "enable-animations", false);
    waitServing([] { return false; }, 0.8);
    const std::vector<int> still = openingWidths(pointer, desk);
    ASSERT_FALSE(still.empty()) << program.log();
    std::cout << "[ measured ] frames smaller than the whole wheel: " << smallerFrames(springing) << " of "
              << springing.size() << " on the spring, " << smallerFrames(still) << " of " << still.size()
              << " with less motion\n";
    EXPECT_EQ(smallerFrames(still), 0) << "the wheel still grew after the desktop asked for less motion";
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix
