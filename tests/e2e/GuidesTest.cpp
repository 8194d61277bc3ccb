// The onboarding, the setup window and the How It Works guide.

#include "EndToEndRig.h"

namespace rondelix::e2e {
namespace {

TEST_F(EndToEnd, AFreshHomeWalksTheOnboardingByKeyboardAndThenSummons) {
    writeFile(home.configFolder() / "defaults.json", "{}");
    Program program(home.path, "onboarding");
    std::string id;
    ASSERT_TRUE(waitFor(
        [&] {
            id = largestWindowNamed("Welcome to Rondelix");
            return !id.empty();
        },
        patience))
        << program.log();
    const auto shoot = [&](const std::string& name) {
        const QRect frame = windowGeometry(id);
        stillScreen(frame).copy(frame).save(artifact(name));
    };
    const auto press = [&] {
        xdotool("windowfocus --sync " + id);
        xdotool("key Return");
    };
    const auto savedStep = [&](int step) {
        return waitFor([&] { return storedDefaults(home).value("onboardingResumeStep", -1) == step; },
                       patience);
    };
    EXPECT_TRUE(savedStep(0)) << program.log();
    shoot("onboarding-welcome.png");
    press(); // Get Started
    EXPECT_TRUE(savedStep(1)) << program.log();
    shoot("onboarding-permissions.png");
    press(); // Continue: an X11 session grants both
    EXPECT_TRUE(savedStep(2)) << program.log();
    shoot("onboarding-ready.png");
    EXPECT_TRUE(storedDefaults(home).value("onboardingLaunchAtLoginProposed", false));
    // The login item starts the command people start, not the program behind it.
    const std::string loginItem = readFile(home.path / ".config" / "autostart" / "rondelix.desktop");
    EXPECT_NE(loginItem.find("\nExec=" + fs::canonical(RONDELIX_PROGRAM).string() + "\n"), std::string::npos)
        << loginItem;
    press(); // Done
    EXPECT_TRUE(waitFor([] { return largestWindowNamed("Welcome to Rondelix").empty(); }, patience));
    EXPECT_TRUE(
        waitFor([&] { return storedDefaults(home).value("hasCompletedOnboarding", false); }, patience));
    EXPECT_FALSE(storedDefaults(home).value("onboardingSkipped", true));

    const QRect wheel = summonAt(QPoint(800, 520), "onboarding-then-wheel.png");
    EXPECT_GE(wheel.width(), 300) << program.log();
    release();
    EXPECT_EQ(program.stop(), 0);
}

// Where the Install button of a card lies in the setup window opened on that
// card: measured on a twin of the window, laid out off screen with the same
// fonts and style.
QPoint installButtonIn(const std::string& highlight, const std::string& cardId) {
    testsupport::CoordinatorRig rig;
    rig.open();
    SliceIconSources icons;
    SideWindow twin(sidePage(AppWindows::Kind::shortcutSetup).title, {});
    twin.setAttribute(Qt::WA_DontShowOnScreen);
    twin.setContent(sidePage(AppWindows::Kind::shortcutSetup)
                        .content({rig.c(), icons}, {OnboardingStep::welcome, highlight}, &twin));
    twin.show();
    // Showing rebuilds the cards; the new ones are laid out a round later.
    for (int round = 0; round < 3; ++round)
        QApplication::processEvents();
    if (const auto* card = twin.findChild<QFrame*>(QString::fromStdString("card-" + cardId)))
        if (const auto* install = card->findChild<QPushButton*>("installButton"))
            return install->mapTo(&twin, install->rect().center());
    ADD_FAILURE() << "the twin shows no Install button on " << cardId;
    return {};
}

// The Bluetooth toggle on the main wheel's top slot, with a stand-in
// bluetoothctl on the path that records how it was called.
TEST_F(EndToEnd, InstallInTheSetupWindowLetsTheBluetoothToggleRunItsAutomation) {
    home.setTopSlotAction(MacroAction::SystemAction{"toggle-bluetooth"});
    const fs::path standIns = home.path / "stand-ins";
    const fs::path calls = home.path / "bluetoothctl-calls";
    writeFile(standIns / "bluetoothctl", "#!/bin/sh\necho \"$*\" >> '" + calls.string() +
                                             "'\n[ \"$1\" = show ] && echo 'Powered: no'\nexit 0\n");
    fs::permissions(standIns / "bluetoothctl", fs::perms::owner_all);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(standIns.string()) + ":" + path);
    Program program(home.path, "setup");
    qputenv("PATH", path);
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    ASSERT_TRUE(moveMainWindowAside()) << program.log();

    // Fired while its automation is missing, the toggle opens the setup window
    // on its card, once the HUD's bubble over the middle of the screen is gone.
    ASSERT_TRUE(fireTopSlot(program, "setup-e2e-fired-missing.png"));
    const std::string id = windowNamed("System Action Setup");
    ASSERT_FALSE(id.empty()) << program.log();
    grabScreen().save(artifact("setup-e2e-opened.png"));
    const QRect frame = windowGeometry(id);
    stillScreen(frame).copy(frame).save(artifact("setup-e2e-window.png"));

    clickAt(frame.topLeft() + installButtonIn("Toggle Bluetooth", "toggle-bluetooth"));
    const fs::path automation = home.configFolder() / "automations" / "Toggle Bluetooth";
    ASSERT_TRUE(waitFor([&] { return fs::exists(automation); }, patience)) << program.log();
    EXPECT_NE(fs::status(automation).permissions() & fs::perms::owner_exec, fs::perms::none);
    stillScreen(frame).copy(frame).save(artifact("setup-e2e-installed.png"));
    xdotool("windowfocus --sync " + id);
    xdotool("key Return");
    EXPECT_TRUE(waitFor([] { return largestWindowNamed("System Action Setup").empty(); }, patience));

    ASSERT_TRUE(fireTopSlot(program, "setup-e2e-fired-installed.png"));
    EXPECT_TRUE(waitFor([&] { return readFile(calls) == "show\npower on\n"; }, patience))
        << readFile(calls) << program.log();
    EXPECT_EQ(program.stop(), 0);
}

// The About page's How It Works button opens the guide; Return walks its five
// steps and closes it on the last; opened again it starts at the first.
TEST_F(EndToEnd, TheHowItWorksGuideWalksItsFiveStepsAndOpensAgainAtTheFirst) {
    const Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    Program program(home.path, "guide");
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    std::string main;
    ASSERT_TRUE(waitFor([&] { return !(main = mainWindowId()).empty(); }, patience)) << program.log();
    movePointer({800, 500});
    ASSERT_TRUE(downTheSidebar(main, 7)) << program.log(); // to About
    const QRect window = windowGeometry(main);
    const QPoint howItWorks =
        window.topLeft() + buttonIn(config, MainTab::about, "howItWorks", window.size());
    const auto open = [&] {
        clickAt(howItWorks);
        return windowNamed("How Rondelix Works");
    };
    std::string id = open();
    ASSERT_FALSE(id.empty()) << program.log();
    const QRect frame = windowGeometry(id);
    const auto shoot = [&] { return stillScreen(frame).copy(frame); };
    const QImage first = shoot();
    QImage previous;
    const char* const names[] = {"summon", "aim", "fire", "switch", "customize"};
    for (const char* name : names) {
        const QImage shot = shoot();
        shot.save(artifact(std::string("guide-") + name + ".png"));
        EXPECT_NE(shot, previous) << name;
        previous = shot;
        xdotool("windowfocus --sync " + id);
        xdotool("key Return");
        // The next step shows, or the guide closes after the last.
        EXPECT_TRUE(waitFor(
            [&] {
                return grabScreen().copy(frame) != shot || largestWindowNamed("How Rondelix Works").empty();
            },
            patience))
            << name;
    }
    EXPECT_TRUE(waitFor([] { return largestWindowNamed("How Rondelix Works").empty(); }, patience));

    id = open();
    ASSERT_FALSE(id.empty()) << program.log();
    EXPECT_TRUE(waitFor([&] { return grabScreen().copy(frame) == first; }, patience));
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix::e2e
