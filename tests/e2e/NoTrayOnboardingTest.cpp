// A desktop without a tray: the program's windows are the only way back into
// it, so finishing the onboarding must not leave the screen empty, and the
// Setup Guide stays within reach from the main window's menu.

#include "EndToEndRig.h"

namespace rondelix::e2e {
namespace {

bool onboardingShown() {
    return !largestWindowNamed("Welcome to Rondelix").empty();
}

TEST_F(EndToEnd, WithoutATrayFinishingTheOnboardingLeavesTheMainWindowAndItsMenuOffersTheGuide) {
    writeFile(home.configFolder() / "defaults.json", "{}");
    xdotool("mousemove 1599 999");
    Program program(home.path, "no-tray");
    ASSERT_FALSE(windowNamed("Welcome to Rondelix").empty()) << program.log();
    pause(0.8);
    // The onboarding closed with Esc, then the main window with Ctrl+W.
    xdotool("key Escape");
    ASSERT_TRUE(waitFor([] { return !onboardingShown(); }, 3)) << program.log();
    pause(0.5);
    xdotool("key ctrl+w");
    ASSERT_TRUE(waitFor([] { return mainWindowId().empty(); }, 3)) << program.log();

    // Started again, the program brings the unfinished onboarding back.
    Program again(home.path, "again");
    EXPECT_EQ(again.exit(), 0) << again.log();
    ASSERT_FALSE(windowNamed("Welcome to Rondelix").empty()) << program.log();
    pause(0.8);
    xdotool("key alt+s");
    pause(0.5);
    grabScreen().save(artifact("no-tray-ready-step.png"));
    xdotool("key Return");
    ASSERT_TRUE(waitFor([] { return !onboardingShown(); }, 3)) << program.log();
    std::string id;
    ASSERT_TRUE(waitFor([&] { return !(id = mainWindowId()).empty(); }, 3)) << "no window left on screen\n"
                                                                            << program.log();

    pause(0.5);
    xdotool("key alt+r");
    pause(0.5);
    grabScreen().save(artifact("no-tray-rondelix-menu.png"));
    xdotool("key g");
    EXPECT_FALSE(windowNamed("Welcome to Rondelix").empty()) << program.log();
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix::e2e
