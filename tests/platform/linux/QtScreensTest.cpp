// The display options the wheel is drawn with follow the desktop's own
// accessibility settings, here a stand-in settings portal on a private
// session bus, as they change.

#include "platform/linux/qt/QtScreens.h"

#include "platform/linux/DesktopApplication.h"
#include "platform/linux/PortalStandIn.h"
#include "platform/linux/PrivateSessionBus.h"
#include "platform/linux/desktop/LinuxDesktopAppearance.h"
#include "platform/sim/SimLog.h"

#include <gtest/gtest.h>

namespace rondelix::platform::linux_desktop {
namespace {

TEST(QtScreensTest, HighContrastAndReducedMotionFollowThePortalLive) {
    if (!testing::desktopApplication()) GTEST_SKIP() << "needs the X server the test script starts";
    testing::PrivateSessionBus bus;
    ASSERT_TRUE(bus.up());
    testing::PortalStandIn portal(bus.address);
    portal.values["org.freedesktop.appearance"] = {{"contrast", 0u}};
    portal.values["org.gnome.desktop.interface"] = {{"enable-animations", true}};
    ASSERT_TRUE(portal.start());
    sim::SimLog log;
    {
        LinuxDesktopAppearance appearance(
            log, {QDBusConnection::connectToBus(bus.address, "program"), "GNOME", "/nonexistent/kdeglobals"});
        const QtScreens screens(log, &appearance);
        const auto shows = [&](bool contrast, bool still) {
            return testing::untilWithEvents([&] {
                const DisplayOptions options = screens.displayOptions();
                return options.increaseContrast == contrast && options.reduceMotion == still &&
                       // High contrast asks for no see-through window either.
                       (!contrast || options.reduceTransparency);
            });
        };
        EXPECT_TRUE(shows(false, false));
        portal.change("org.freedesktop.appearance", "contrast", 1u);
        EXPECT_TRUE(shows(true, false));
        portal.change("org.gnome.desktop.interface", "enable-animations", false);
        EXPECT_TRUE(shows(true, true));
        portal.change("org.freedesktop.appearance", "contrast", 0u);
        EXPECT_TRUE(shows(false, true));
    }
    QDBusConnection::disconnectFromBus("program");
}

} // namespace
} // namespace rondelix::platform::linux_desktop
