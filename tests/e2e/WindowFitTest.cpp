// The main window on a small screen under a window manager: framed, it must
// fit whole the first time it opens, and at its smallest it must still show
// every page whole.

#include "e2e/EndToEndRig.h"

namespace rondelix::e2e {
namespace {

TEST_F(EndToEnd, TheMainWindowOpensWholeOnA1280By800ScreenUnderAWindowManager) {
    const QSize screen(1280, 800);
    const PrivateDisplay display(home.path, screen);
    ASSERT_FALSE(display.name.empty()) << "no private X server: Xvfb did not start";
    const WindowManager manager(display.name);
    ASSERT_TRUE(manager.running) << "openbox did not start: scripts/setup installs it";

    Program program(home.path, "fit", {}, display.environment());
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    FramedWindow window{display, {}};
    ASSERT_TRUE(waitFor([&] { return window.find(); }, patience)) << program.log();
    const auto framed = window.settledFrame();
    ASSERT_TRUE(framed) << "the window manager never framed the window";
    display.grab().save(artifact("fit-1280x800-first-open.png"));
    EXPECT_TRUE(QRect(QPoint(), screen).contains(*framed))
        << "frame " << framed->x() << "," << framed->y() << " " << framed->width() << "x" << framed->height();
    EXPECT_GT(window.content().width(), 1000) << "fitted, not shrunk to nothing";

    // At its smallest the window still shows My Wheels whole.
    display.xdotool("windowsize " + window.id + " 200 200");
    const auto smallest = window.settledFrame();
    ASSERT_TRUE(smallest);
    display.grab().copy(*smallest).save(artifact("min-size-my-wheels-wm.png"));
    EXPECT_TRUE(QRect(QPoint(), screen).contains(*smallest));
    EXPECT_EQ(program.stop(), 0);
}

// Opened on a narrower page by one slice, then on My Wheels by an empty
// slot's fire, the window grows only as far as the screen allows.
TEST_F(EndToEnd, AnEmptySlotFiredOpensMyWheelsWholeOnTheScreen) {
    // With a tray the window is made by the first slice, centred for its page.
    TrayPanel tray("0xEEEEEE", std::nullopt);
    ASSERT_TRUE(tray.running) << "trayer did not start: scripts/setup installs it";
    Config config = home.setTopSlotAction(MacroAction::OpenSettings{"open-bindings"});
    for (Wheel& wheel : config.wheels)
        if (wheel.id == "default")
            std::erase_if(wheel.slices, [](const Slice& s) { return s.position == 4; });
    writeFile(home.configFolder() / "config.json", writeConfigFile(config));
    Program program(home.path, "empty-slot");
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    // Fired over the window, which stays where it opened: the wheel opens
    // whole, shows the slot aimed at, and goes.
    const QPoint centre(800, 500);
    const QRect near = wheelRoom(centre);
    const auto fire = [&](QPoint aim, const std::string& shot) {
        movePointer(centre);
        const QImage desk = stillScreen(near);
        xdotool("keydown Alt_L Super_L");
        EXPECT_TRUE(waitFor([&] { return changedArea(desk, grabScreen(), centre).width() >= 300; }, patience))
            << program.log();
        stillScreen(near).save(artifact(shot));
        aimAt(slotAt(centre, aim), [&] { xdotool("mousemove_relative -- " + pointText(aim)); });
        release();
    };
    fire({0, -110}, "empty-slot-fired-bindings.png");
    if (HasFatalFailure()) return;
    const std::string id = windowNamed("Rondelix");
    ASSERT_FALSE(id.empty()) << program.log();
    const auto settled = [&] {
        return steady([&] { return windowFrame(id); }, std::chrono::milliseconds(300)).value;
    };
    const QRect bindings = settled();
    fire({0, 110}, "empty-slot-fired-my-wheels.png");
    if (HasFatalFailure()) return;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QRect wheels;
    waitFor([&] { return (wheels = windowFrame(id)).width() > bindings.width() + 300; }, patience);
    wheels = settled();
    grabScreen().save(artifact("empty-slot-my-wheels.png"));
    EXPECT_GT(wheels.width(), bindings.width() + 300) << "not My Wheels";
    EXPECT_TRUE(screen.contains(wheels))
        << "frame " << wheels.x() << "," << wheels.y() << " " << wheels.width() << "x" << wheels.height()
        << ", on the Bindings page " << bindings.x() << "," << bindings.y() << " " << bindings.width();
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix::e2e
