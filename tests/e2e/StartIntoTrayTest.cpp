// What a start into the tray keeps out of memory until it is needed: the
// libraries of drawings, sounds and the network, the fonts, and the program's
// window icon.

#include "e2e/EndToEndRig.h"

namespace rondelix::e2e {
namespace {

TEST_F(EndToEnd, AStartIntoTheTrayLoadsWhatLaterUseNeedsOnlyThen) {
    TrayPanel tray("0xEEEEEE", std::nullopt);
    ASSERT_TRUE(tray.running) << "trayer did not start: scripts/setup installs it";
    Program program(home.path, "tray");
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    // Past the steps a start defers: the launch is marked as survived, the
    // last of them, a few seconds on.
    ASSERT_TRUE(
        waitFor([&] { return storedDefaults(home).value("diag.lastLaunchCompleted", false); }, patience))
        << program.log();
    const auto maps = [&] { return readFile("/proc/" + std::to_string(program.pid()) + "/maps"); };
    // The font list's caches and the font files, which the first text maps.
    const auto fontsMapped = [](const std::string& mapped) {
        return mapped.find("fontconfig/") != std::string::npos || mapped.find("/fonts/") != std::string::npos;
    };
    const std::string atStart = maps();
    ASSERT_FALSE(atStart.empty());
    for (const char* library : {"libQt6Svg", "libQt6Network", "libcanberra", "libasound"})
        EXPECT_EQ(atStart.find(library), std::string::npos) << library << " is loaded at start";
    EXPECT_FALSE(fontsMapped(atStart)) << atStart;

    // The main window, brought up by a second start, comes with the icon.
    Program again(home.path, "again");
    EXPECT_EQ(again.exit(), 0) << again.log();
    std::string id;
    ASSERT_TRUE(waitFor([&] { return !(id = mainWindowId()).empty(); }, patience)) << program.log();
    const std::string icon = output("xprop -id " + id + " _NET_WM_ICON");
    for (const char* size : {"16 x 16", "32 x 32", "64 x 64", "128 x 128"})
        EXPECT_NE(icon.find(std::string("Icon (") + size + ")"), std::string::npos) << size << "\n" << icon;
    // And with its text, the fonts.
    EXPECT_TRUE(fontsMapped(maps()));
}

} // namespace
} // namespace rondelix::e2e
