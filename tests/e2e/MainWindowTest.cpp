// The main window's pages, walked by keyboard with and without a window
// manager, and the Bindings page recording a new summon combination.

#include "EndToEndRig.h"

namespace rondelix::e2e {
namespace {

class MainWindowEndToEnd : public EndToEnd, public ::testing::WithParamInterface<bool> {};

TEST_P(MainWindowEndToEnd, OpensOnMyWheelsWalksEveryPageByKeyboardAndComesBackOnASecondStart) {
    std::optional<WindowManager> manager;
    if (GetParam()) {
        manager.emplace();
        ASSERT_TRUE(manager->running) << "openbox did not start: scripts/setup installs it";
    }
    const std::string variant = GetParam() ? "wm" : "bare";
    Program program(home.path, "main-window-" + variant);
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    EXPECT_TRUE(waitFor([&] { return windowSize(id) == QSize(1440, 800); }, patience))
        << windowSize(id).width();

    // Keys go to the window under the pointer when nothing manages focus.
    movePointer({800, 500});
    xdotool("windowactivate --sync " + id + " 2>/dev/null || true");
    const QStringList pages{"my-wheels", "gallery",    "general",        "bindings",
                            "behavior",  "appearance", "sound-feedback", "about"};
    // The window as it shows once it has stopped changing: the page change
    // resizes it, animated.
    const auto settled = [&] { return steady([&] { return grabWindow(id); }).value; };
    QImage previous = settled();
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            xdotool("key Down");
            EXPECT_TRUE(waitFor([&] { return grabWindow(id) != previous; }, patience))
                << "no change on reaching " << pages[i].toStdString();
        }
        const QImage shot = settled();
        shot.save(artifact("main-window-" + variant + "-" + pages[i].toStdString() + ".png"));
        previous = shot;
    }
    EXPECT_TRUE(
        waitFor([&] { return windowSize(id) == QSize(880, 800); }, patience)) // the settings pages' width
        << windowSize(id).width();

    // Flicking the About page's mark fast enough unlocks the Development page,
    // which the sidebar then lists last.
    const QPoint origin = windowOrigin(id);
    const QPoint logo = origin + QPoint(220 + (880 - 220) / 2, 90);
    movePointer(logo);
    xdotool("click --repeat 5 --delay 30 1");
    const QImage unlocked = settled(); // the mark comes to rest
    unlocked.save(artifact("main-window-" + variant + "-about-unlocked.png"));
    const QPoint developmentRow = origin + QPoint(70, 219);
    clickAt(developmentRow);
    EXPECT_TRUE(waitFor(
        [&] { return grabWindow(id).copy(240, 0, 600, 300) != unlocked.copy(240, 0, 600, 300); }, patience))
        << "the Development page did not open";
    settled().save(artifact("main-window-" + variant + "-development.png"));

    // No tray here, so closing is not quitting: a second start, which asks
    // the running program, brings the window back.
    xdotool("key ctrl+w");
    EXPECT_TRUE(waitFor([] { return mainWindowId().empty(); }, patience));
    Program second(home.path, "second-" + variant);
    EXPECT_EQ(second.exit(), 0);
    EXPECT_TRUE(second.hasLine("Rondelix is already running; its window was brought forward."))
        << second.log();
    EXPECT_TRUE(waitFor([] { return !mainWindowId().empty(); }, patience)) << program.log();

    xdotool("key ctrl+q");
    EXPECT_EQ(program.exit(), 0) << program.log();
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, MainWindowEndToEnd, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Managed" : "Bare"; });

TEST_F(EndToEnd, ANewSummonCombinationRecordedInTheBindingsPageReplacesTheOldOne) {
    // The main wheel's top slot opens the Bindings page.
    const Config config = home.setTopSlotAction(MacroAction::OpenSettings{"open-bindings"});

    Program program(home.path);
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    ASSERT_TRUE(moveMainWindowAside()) << program.log();
    const QPoint pointer(800, 520);
    ASSERT_TRUE(fireTopSlot(program, "e2e-settings-summon-old.png", pointer));

    // The window turns to the Bindings page, at the settings pages' size.
    const std::string main = windowNamed("Rondelix");
    ASSERT_FALSE(main.empty()) << program.log();
    EXPECT_TRUE(waitFor([&] { return windowSize(main) == QSize(880, 800); }, patience)) << program.log();
    // Wholly on screen, wherever the window was placed.
    xdotool("windowmove --sync " + main + " 40 40");
    const QRect window = steady([&] { return windowGeometry(main); }, std::chrono::milliseconds(300)).value;
    stillScreen(window);
    clickAt(window.topLeft() + buttonIn(config, MainTab::shortcuts, "record", window.size()));
    const std::string panel = windowNamed("Recording Summon Key");
    ASSERT_FALSE(panel.empty()) << program.log();
    stillScreen(windowGeometry(panel)).save(artifact("e2e-settings-bindings-recording.png"));

    // Held together a moment, as hands hold them, and let go: the panel,
    // sized anew for the combination, offers Confirm in the accent colour.
    xdotool("keydown Control_L Shift_L sleep 0.3 keyup Shift_L Control_L");
    QPoint confirm;
    EXPECT_TRUE(waitFor(
        [&] {
            const QRect popover = windowGeometry(panel);
            confirm = QPoint(popover.center().x() + 49, popover.bottom() - 28);
            const QColor c = grabScreen().pixelColor(confirm + QPoint(-30, 0));
            return c.blue() > 200 && c.red() < 60;
        },
        patience))
        << "the panel offers no combination to confirm";
    stillScreen(windowGeometry(panel)).save(artifact("e2e-settings-bindings-captured.png"));
    clickAt(confirm);
    EXPECT_TRUE(waitFor(
        [&] {
            const auto saved = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
            return saved && saved->bindings.front().keyCodes == std::vector<int>{59, 56};
        },
        patience))
        << readFile(home.configFolder() / "config.json");
    grabScreen().save(artifact("e2e-settings-bindings.png"));
    xdotool("windowfocus --sync " + main + " key ctrl+w");
    EXPECT_TRUE(waitFor([] { return largestWindowNamed("Rondelix").empty(); }, patience));

    // The new combination opens the wheel; the old one no longer does.
    const QRect near = wheelRoom(pointer);
    movePointer(pointer);
    const QImage before = stillScreen(near);
    xdotool("keydown Control_L Shift_L");
    QRect area;
    waitFor(
        [&] {
            area = changedArea(before, grabScreen(), pointer);
            return area.width() >= 300;
        },
        patience);
    stillScreen(near).save(artifact("e2e-settings-summon-new.png"));
    xdotool("keyup Shift_L Control_L");
    EXPECT_GE(area.width(), 300) << program.log();
    EXPECT_TRUE(waitFor([&] { return changedArea(before, grabScreen(), pointer).width() < 300; }, patience));

    // That nothing comes can only be seen for a while: ten times the hold
    // that opens a wheel. A busy machine can only make this pass wrongly,
    // never fail.
    const QImage quiet = grabScreen();
    xdotool("keydown Alt_L Super_L");
    EXPECT_FALSE(waitFor([&] { return changedArea(quiet, grabScreen(), pointer).width() >= 300; }, 1.5));
    release();
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix::e2e
