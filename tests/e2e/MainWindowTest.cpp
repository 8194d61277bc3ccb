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
        if (!manager->running) GTEST_SKIP() << "no window manager installed (scripts/setup installs openbox)";
    }
    const std::string variant = GetParam() ? "wm" : "bare";
    Program program(home.path, "main-window-" + variant);
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    EXPECT_TRUE(waitFor([&] { return windowSize(id) == QSize(1440, 800); }, 3)) << windowSize(id).width();

    // Keys go to the window under the pointer when nothing manages focus.
    xdotool("mousemove 800 500");
    xdotool("windowactivate --sync " + id + " 2>/dev/null || true");
    pause(0.5);
    const QStringList pages{"my-wheels", "gallery",    "general",        "bindings",
                            "behavior",  "appearance", "sound-feedback", "about"};
    QImage previous;
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0) xdotool("key Down");
        pause(0.6); // the page change resizes the window, animated
        const QImage shot =
            QGuiApplication::primaryScreen()->grabWindow(id.empty() ? 0 : std::stoul(id)).toImage();
        shot.save(artifact("main-window-" + variant + "-" + pages[i].toStdString() + ".png"));
        EXPECT_NE(shot, previous) << "no change on reaching " << pages[i].toStdString();
        previous = shot;
    }
    EXPECT_EQ(windowSize(id), QSize(880, 800)); // the settings pages' width

    // Flicking the About page's mark fast enough unlocks the Development page,
    // which the sidebar then lists last.
    const QPoint origin = windowOrigin(id);
    const QPoint logo = origin + QPoint(220 + (880 - 220) / 2, 90);
    xdotool("mousemove " + std::to_string(logo.x()) + " " + std::to_string(logo.y()));
    xdotool("click --repeat 5 --delay 30 1");
    pause(3.5); // the mark comes to rest
    const QImage unlocked = grabWindow(id);
    unlocked.save(artifact("main-window-" + variant + "-about-unlocked.png"));
    const QPoint developmentRow = origin + QPoint(70, 219);
    xdotool("mousemove " + std::to_string(developmentRow.x()) + " " + std::to_string(developmentRow.y()));
    xdotool("click 1");
    pause(0.6);
    const QImage development = grabWindow(id);
    development.save(artifact("main-window-" + variant + "-development.png"));
    EXPECT_NE(development.copy(240, 0, 600, 300), unlocked.copy(240, 0, 600, 300))
        << "the Development page did not open";

    xdotool("key ctrl+w");
    EXPECT_TRUE(waitFor([] { return mainWindowId().empty(); }, 3));
    pause(0.3);
    EXPECT_FALSE(program.process.waitForFinished(300)); // no tray here, so closing is not quitting
    Program second(home.path, "second-" + variant);
    EXPECT_EQ(second.exit(), 0);
    EXPECT_TRUE(waitFor([] { return !mainWindowId().empty(); }, 3)) << program.log();

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
    pause(1.0);
    const QPoint pointer(800, 520);
    ASSERT_TRUE(fireTopSlot(program, "e2e-settings-summon-old.png", pointer));
    pause(1.0);

    const std::string main = windowNamed("Rondelix");
    ASSERT_FALSE(main.empty()) << program.log();
    // Wholly on screen, wherever the window was placed.
    xdotool("windowmove --sync " + main + " 40 40");
    pause(0.5);
    const QRect window = windowGeometry(main);
    clickAt(window.topLeft() + buttonIn(config, MainTab::shortcuts, "record", window.size()));
    const std::string panel = windowNamed("Recording Summon Key");
    ASSERT_FALSE(panel.empty()) << program.log();
    grabScreen().save(artifact("e2e-settings-bindings-recording.png"));

    xdotool("keydown Control_L Shift_L");
    pause(0.3);
    xdotool("keyup Shift_L Control_L");
    pause(0.3);
    grabScreen().save(artifact("e2e-settings-bindings-captured.png"));
    const QRect popover = windowGeometry(panel);
    clickAt(QPoint(popover.center().x() + 49, popover.bottom() - 28)); // Confirm
    EXPECT_TRUE(waitFor(
        [&] {
            const auto saved = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
            return saved && saved->bindings.front().keyCodes == std::vector<int>{59, 56};
        },
        3))
        << readFile(home.configFolder() / "config.json");
    grabScreen().save(artifact("e2e-settings-bindings.png"));
    xdotool("windowfocus --sync " + main + " key ctrl+w");
    EXPECT_TRUE(waitFor([] { return largestWindowNamed("Rondelix").empty(); }, 3));
    pause(0.5);

    // The new combination opens the wheel; the old one no longer does.
    xdotool("mousemove " + std::to_string(pointer.x()) + " " + std::to_string(pointer.y()));
    pause(0.3);
    const QImage before = grabScreen();
    xdotool("keydown Control_L Shift_L");
    QRect area;
    waitFor(
        [&] {
            area = changedArea(before, grabScreen(), pointer);
            return area.width() >= 300;
        },
        3);
    grabScreen().save(artifact("e2e-settings-summon-new.png"));
    xdotool("keyup Shift_L Control_L");
    EXPECT_GE(area.width(), 300) << program.log();
    pause(1.0);

    const QImage quiet = grabScreen();
    xdotool("keydown Alt_L Super_L");
    pause(1.5);
    EXPECT_LT(changedArea(quiet, grabScreen(), pointer).width(), 300);
    release();
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix::e2e
