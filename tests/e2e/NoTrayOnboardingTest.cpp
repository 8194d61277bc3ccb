// A desktop without a tray: the program's windows are the only way back into
// it, so finishing the onboarding must not leave the screen empty, and the
// Setup Guide stays within reach from the main window's menu. With a tray,
// whose menu opens only with a click, the keyboard finds it there too.

#include "EndToEndRig.h"

namespace rondelix::e2e {
namespace {

bool onboardingShown() {
    return !largestWindowNamed("Welcome to Rondelix").empty();
}

// Alt+R opens the main window's Rondelix menu, as a window of its own, and
// its Setup Guide item's letter opens the guide.
void guideFromTheMenu(const Program& program, const std::string& shot) {
    const std::set<std::string> shown = windowsOf(program);
    xdotool("key alt+r");
    EXPECT_FALSE(newWindowOf(program, shown).empty()) << "no Rondelix menu";
    grabScreen().save(artifact(shot));
    xdotool("key g");
    EXPECT_FALSE(windowNamed("Welcome to Rondelix").empty()) << program.log();
}

TEST_F(EndToEnd, WithoutATrayFinishingTheOnboardingLeavesTheMainWindowAndItsMenuOffersTheGuide) {
    writeFile(home.configFolder() / "defaults.json", "{}");
    xdotool("mousemove 1599 999");
    Program program(home.path, "no-tray");
    // Keys reach the onboarding once it is drawn: it takes the focus as it shows.
    const auto drawn = [](const std::string& id) {
        EXPECT_FALSE(id.empty());
        if (!id.empty()) stillScreen(windowGeometry(id));
    };
    drawn(windowNamed("Welcome to Rondelix"));
    // The onboarding closed with Esc, then the main window with Ctrl+W.
    xdotool("key Escape");
    ASSERT_TRUE(waitFor([] { return !onboardingShown(); }, patience)) << program.log();
    drawn(mainWindowId());
    xdotool("key ctrl+w");
    ASSERT_TRUE(waitFor([] { return mainWindowId().empty(); }, patience)) << program.log();

    // Started again, the program brings the unfinished onboarding back.
    Program again(home.path, "again");
    EXPECT_EQ(again.exit(), 0) << again.log();
    const std::string onboarding = windowNamed("Welcome to Rondelix");
    ASSERT_FALSE(onboarding.empty()) << program.log();
    drawn(onboarding);
    const QImage welcome = grabScreen();
    xdotool("key alt+s");
    EXPECT_TRUE(screenChanges(welcome, windowGeometry(onboarding))) << "Alt+S did not skip to the last step";
    stillScreen(windowGeometry(onboarding)).save(artifact("no-tray-ready-step.png"));
    xdotool("key Return");
    ASSERT_TRUE(waitFor([] { return !onboardingShown(); }, patience)) << program.log();
    std::string id;
    ASSERT_TRUE(waitFor([&] { return !(id = mainWindowId()).empty(); }, patience))
        << "no window left on screen\n"
        << program.log();

    drawn(id);
    guideFromTheMenu(program, "no-tray-rondelix-menu.png");
    EXPECT_EQ(program.stop(), 0);
}

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
    guideFromTheMenu(program, "tray-rondelix-menu.png");
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix::e2e
