// With a tray, whose menu opens only with a click, the keyboard reaches the
// Setup Guide through the main window's Rondelix menu.

#include "EndToEndRig.h"

namespace rondelix::e2e {
namespace {

TEST_F(EndToEnd, WithATrayTheRondelixMenuOffersTheSetupGuideToTheKeyboard) {
    TrayPanel tray("0xEEEEEE", std::nullopt);
    ASSERT_TRUE(tray.running) << "trayer did not start: scripts/setup installs it";
    Program program(home.path, "tray-guide");
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    // The main window, brought up by a second start.
    Program again(home.path, "again");
    EXPECT_EQ(again.exit(), 0) << again.log();
    std::string id;
    ASSERT_TRUE(waitFor([&] { return !(id = mainWindowId()).empty(); }, patience)) << program.log();
    stillScreen(windowGeometry(id));

    const std::set<std::string> shown = windowsOf(program);
    xdotool("key alt+r");
    EXPECT_FALSE(newWindowOf(program, shown).empty()) << "no Rondelix menu";
    grabScreen().save(artifact("tray-rondelix-menu.png"));
    xdotool("key g");
    EXPECT_FALSE(windowNamed("Welcome to Rondelix").empty()) << program.log();
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix::e2e
