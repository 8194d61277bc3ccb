// The built program under a real X server, driven the way a user drives it:
// xdotool holds the summon keys and moves the pointer; the test looks at the
// screen and at what the fired slice left behind.

#include "CaretWindow.h"

#include <iostream>

namespace rondelix::e2e {
namespace {

TEST_F(EndToEnd, SummonAimReleaseFiresTheSliceAndEscFiresNothing) {
    Program program(home.path);
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    const auto readyMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - program.started).count();
    // Past the steps a start defers: the launch's breadcrumb is on the disk.
    EXPECT_TRUE(
        waitFor([&] { return storedDefaults(home).value("diag.launchInProgress", false); }, patience));
    ASSERT_TRUE(moveMainWindowAside()) << program.log();
    const long residentKiB = program.residentKiB();
    std::cout << "[ measured ] ready after " << readyMs << " ms; resident " << residentKiB / 1024.0
              << " MiB\n";

    const QPoint pointer(800, 520);
    const QRect wheel = summonAt(pointer, "e2e-wheel-open.png");
    ASSERT_GE(wheel.width(), 300) << program.log();
    EXPECT_NEAR(wheel.center().x(), pointer.x(), 24);
    EXPECT_NEAR(wheel.center().y(), pointer.y(), 24);

    aimAtTopSlot();
    grabScreen().save(artifact("e2e-wheel-aimed.png"));
    release();
    EXPECT_TRUE(waitFor([&] { return fs::exists(home.marker); }, patience)) << program.log();

    // Esc fires nothing: the next summon's fire is the only one the marker
    // counts, a fire from the first being earlier than it.
    fs::remove(home.marker);
    EXPECT_TRUE(wheelGone(pointer));
    const QRect again = summonAt(pointer, "e2e-wheel-before-esc.png");
    ASSERT_GE(again.width(), 300);
    aimAtTopSlot();
    xdotool("key Escape");
    release();
    EXPECT_TRUE(wheelGone(pointer));
    ASSERT_TRUE(fireTopSlot(program, "e2e-wheel-after-esc.png", pointer));
    EXPECT_TRUE(waitFor([&] { return home.fired() >= 1; }, patience)) << program.log();
    EXPECT_EQ(home.fired(), 1) << "Esc fired the slot";

    EXPECT_EQ(program.stop(), 0);
    const auto defaults = nlohmann::json::parse(readFile(home.configFolder() / "defaults.json"));
    EXPECT_EQ(defaults.value("diag.launchInProgress", true), false);
}

TEST_F(EndToEnd, AHandEditWithAMistakeIsToldAndLeftInPlace) {
    Program program(home.path, "broken-edit");
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    ASSERT_TRUE(moveMainWindowAside()) << program.log();
    std::string text = readFile(home.configFolder() / "config.json");
    text.insert(text.find("\"wheels\""), "\"forgotComma\": 1\n");
    writeFile(home.configFolder() / "config.json", text);
    EXPECT_TRUE(program.waitForLine("Rondelix: config reload failed (")) << program.log();
    stillScreen().save(artifact("broken-edit-e2e-told.png")); // the HUD fades in

    // A summon that ends on a wheel does not replace the user's file; the
    // second fire comes after anything the first one would have saved.
    ASSERT_TRUE(fireTopSlot(program, "broken-edit-e2e-summoned.png"));
    EXPECT_TRUE(waitFor([&] { return home.fired() == 1; }, patience)) << program.log();
    ASSERT_TRUE(fireTopSlot(program, "broken-edit-e2e-summoned-again.png"));
    EXPECT_TRUE(waitFor([&] { return home.fired() == 2; }, patience)) << program.log();
    EXPECT_EQ(readFile(home.configFolder() / "config.json"), text);
}

// A text slice fired over a terminal that writes what it reads to a file: the
// line arrives both in a terminal that pastes with Ctrl+Shift+V and in xterm,
// which pastes only the primary selection, with Shift+Insert.
TEST_F(EndToEnd, ATextSliceFiredOverATerminalArrivesInIt) {
    // A window manager keeps the record of the frontmost window.
    WindowManager manager;
    ASSERT_TRUE(manager.running) << "openbox did not start: scripts/setup installs it";
    const std::string line = "pasted by the wheel";
    home.setTopSlotAction(MacroAction::Text{line + "\n"});
    Program program(home.path, "terminal-paste");
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    ASSERT_TRUE(moveMainWindowAside()) << program.log();

    const struct {
        const char* name;
        std::function<QStringList(const std::string& reader)> arguments;
    } terminals[] = {
        {"xterm",
         [](const std::string& reader) {
             return QStringList{"-e", "sh", "-c", reader.c_str()};
         }},
        {"sakura",
         [](const std::string& reader) {
             return QStringList{"-x", ("sh -c '" + reader + "'").c_str()};
         }},
    };
    for (const auto& terminal : terminals) {
        SCOPED_TRACE(terminal.name);
        if (std::system(("command -v " + std::string(terminal.name) + " >/dev/null").c_str()) != 0) {
            ADD_FAILURE() << terminal.name << " is not installed (scripts/setup installs it)";
            continue;
        }
        const fs::path typed = home.path / (std::string(terminal.name) + "-typed");
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", QString::fromStdString(home.path.string()));
        process.setProcessEnvironment(environment);
        process.start(terminal.name, terminal.arguments("cat > " + typed.string()));
        const std::string window = shownWindowOf(process.processId());
        ASSERT_FALSE(window.empty()) << terminal.name << " showed no window";
        // Once the window manager names it the active window, the program
        // sees it as the application the wheel opens over.
        xdotool("windowactivate --sync " + window);

        ASSERT_TRUE(fireTopSlot(program, std::string("e2e-terminal-") + terminal.name + "-summoned.png"));
        EXPECT_TRUE(waitFor([&] { return readFile(typed) == line + "\n"; }, patience))
            << readFile(typed) << program.log();
        stillScreen().save(artifact(std::string("e2e-terminal-") + terminal.name + "-pasted.png"));
        process.kill();
        process.waitForFinished(3000);
    }
    EXPECT_EQ(program.stop(), 0);
}

TEST_F(EndToEnd, TheTextCaretSettingOpensTheWheelBelowTheCaretAndElseAtThePointer) {
    AccessibilityBus bus(home.path / "bus");
    ASSERT_TRUE(bus.ready)
        << "the accessibility bus did not start (scripts/setup installs at-spi2-core and dbus-daemon)";
    Program program(home.path, "caret", {}, bus.environment());
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    // Focus changes reach the program only once it listens for them.
    ASSERT_TRUE(waitFor([&] { return bus.someoneListensFor("Object:StateChanged:Focused"); }, patience))
        << program.log();
    ASSERT_TRUE(moveMainWindowAside()) << program.log();
    CaretWindow window(bus);
    ASSERT_FALSE(window.caret.isNull()) << "the text window did not take the focus";

    // Esc before the release: the pointer aims at a slice of a wheel that
    // opened elsewhere, and nothing is to fire.
    const QPoint pointer(800, 700);
    const auto timedSummon = [&](const std::string& shot, std::optional<QPoint> around = {}) {
        const QRect area = summonAt(pointer, shot, around);
        xdotool("key Escape");
        release();
        EXPECT_TRUE(wheelGone(area.isEmpty() ? around.value_or(pointer) : area.center()));
        return std::pair{area, shownAfter};
    };
    const auto atPointer = [&](const QRect& area) {
        return area.width() >= 300 && std::abs(area.center().x() - pointer.x()) <= 24 &&
               std::abs(area.center().y() - pointer.y()) <= 24;
    };
    // The program hears of a window taking the focus from the bus, on its
    // own time: wheels are summoned until one opens under that window's
    // caret, centred, its disc 8 points below the caret's line.
    const auto summonBelow = [&](const QRect& caret, const std::string& shot) {
        const QPoint below = caret.topLeft() + QPoint(0, caret.height() + 8);
        std::pair<QRect, double> summoned;
        waitFor(
            [&] {
                summoned = timedSummon(shot, below + QPoint(0, 162));
                return std::abs(summoned.first.center().x() - below.x()) <= 24 &&
                       std::abs(summoned.first.top() - below.y()) <= 24;
            },
            patience);
        return summoned;
    };

    const auto [first, pointerSeconds] = timedSummon("e2e-caret-setting-off.png");
    EXPECT_TRUE(atPointer(first)) << program.log();

    auto config = nlohmann::json::parse(readFile(home.configFolder() / "config.json"));
    config["behavior"]["position"] = "textCaret";
    writeFile(home.configFolder() / "config.json", config.dump(2));
    ASSERT_TRUE(program.waitForLine("config reloaded from disk")) << program.log();

    // Centred under the caret, its disc 8 points below the caret's line.
    const QPoint caret = window.caret.topLeft();
    const auto [atCaret, caretSeconds] = summonBelow(window.caret, "e2e-wheel-at-caret.png");
    EXPECT_NEAR(atCaret.center().x(), caret.x(), 24) << program.log();
    EXPECT_NEAR(atCaret.top(), caret.y() + window.caret.height() + 8, 24) << program.log();
    {
        // A window the bus knows nothing of takes the keyboard; the text
        // window says nothing on the bus as it loses it, and its caret is no
        // longer where the user types.
        QProcess terminal;
        terminal.start("xterm", {"-geometry", "30x4+1170+820"});
        const std::string id = shownWindowOf(terminal.processId());
        ASSERT_FALSE(id.empty()) << "xterm showed no window (scripts/setup installs it)";
        ASSERT_TRUE(window.hasKeyboard(true));
        xdotool("windowfocus --sync " + id);
        ASSERT_TRUE(window.hasKeyboard(false)) << "the text window did not hear it lost the keyboard";
        const auto [elsewhere, elsewhereSeconds] =
            timedSummon("e2e-caret-window-lost-the-keyboard.png", atCaret.center());
        EXPECT_TRUE(atPointer(elsewhere)) << program.log();
        terminal.kill();
        terminal.waitForFinished(3000);
    }
    {
        // After the last character, where Qt has no character at the caret.
        const CaretWindow atEnd(bus, {"end"});
        ASSERT_FALSE(atEnd.caret.isNull()) << "the second text window did not take the focus";
        const QPoint end = atEnd.caret.topLeft();
        const auto [atEndCaret, endSeconds] = summonBelow(atEnd.caret, "e2e-wheel-at-caret-end.png");
        EXPECT_NEAR(atEndCaret.center().x(), end.x(), 24) << program.log();
        EXPECT_NEAR(atEndCaret.top(), end.y() + atEnd.caret.height() + 8, 24) << program.log();
    }
    // The first window takes the focus back for the hang below, once the
    // program has heard so.
    xdotool("search --onlyvisible --name '^Caret window$' windowfocus --sync");
    const auto [back, backSeconds] = summonBelow(window.caret, "e2e-wheel-at-caret-again.png");
    EXPECT_NEAR(back.center().x(), caret.x(), 24) << program.log();

    // A program that hangs costs the search's deadline and one message
    // time-out (0.15 s), not the bus's own time-out of 25 s. The bound is
    // that difference, far from both: a machine busy with other work can
    // add seconds to any summon, never twenty.
    ::kill(pid_t(window.process.processId()), SIGSTOP);
    const auto [hung, hungSeconds] = timedSummon("e2e-caret-program-hangs.png");
    ::kill(pid_t(window.process.processId()), SIGCONT);
    EXPECT_TRUE(atPointer(hung)) << program.log();
    EXPECT_LT(hungSeconds, pointerSeconds + 10);

    // One that went away, and then no accessibility bus at all: the pointer,
    // at once.
    window.process.kill();
    window.process.waitForFinished(static_cast<int>(patience * 1000));
    const auto [gone, goneSeconds] = timedSummon("e2e-caret-program-gone.png");
    EXPECT_TRUE(atPointer(gone)) << program.log();
    bus.stop();
    const auto [noBus, noBusSeconds] = timedSummon("e2e-caret-no-bus.png");
    EXPECT_TRUE(atPointer(noBus)) << program.log();
    std::cout << "[ measured ] summon to wheel on screen: pointer " << pointerSeconds * 1000 << " ms, caret "
              << caretSeconds * 1000 << " ms, hung program " << hungSeconds * 1000 << " ms, gone program "
              << goneSeconds * 1000 << " ms, no bus " << noBusSeconds * 1000 << " ms\n";
    EXPECT_EQ(program.stop(), 0);
}

// In a session that starts nothing for accessibility, the program's own
// question for the accessibility bus starts it, slowly; the caret of the
// first text window that takes the keyboard is found at the first summon.
// Then the registry goes, and then the whole bus, and another program's
// question starts them again: the program asks the new registry for the
// focus changes and finds each caret at once all the same.
TEST_F(EndToEnd, TheCaretIsFoundHoweverTheAccessibilityBusCameUp) {
    AccessibilityBus bus(home.path / "bus", AccessibilityBus::Start::onRequest);
    ASSERT_TRUE(bus.ready) << "the session bus did not start (scripts/setup installs dbus-daemon)";
    auto config = nlohmann::json::parse(readFile(home.configFolder() / "config.json"));
    config["behavior"]["position"] = "textCaret";
    writeFile(home.configFolder() / "config.json", config.dump(2));
    Program program(home.path, "caret-bus-on-request", {}, bus.environment());
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    ASSERT_TRUE(bus.found()) << "the accessibility bus did not start (scripts/setup installs at-spi2-core)\n"
                             << program.log();
    ASSERT_TRUE(moveMainWindowAside()) << program.log();

    // A program that starts along with the registry may ask it what to
    // announce just before the program's request reaches it, and never
    // hear of the request: each text window starts once the registry has the
    // request. Asking it what was asked of it starts it when it is not
    // running.
    const struct {
        const char* name;
        std::function<bool()> end;
    } comings[] = {
        {"started-by-the-program", [] { return true; }},
        {"registry-started-again", [&] { return bus.endRegistry(); }},
        {"bus-started-again", [&] { return bus.endLauncher() && bus.request(); }},
    };
    for (const auto& coming : comings) {
        SCOPED_TRACE(coming.name);
        ASSERT_TRUE(coming.end());
        ASSERT_TRUE(waitFor([&] { return bus.someoneListensFor("Object:StateChanged:Focused"); }, patience))
            << "the program did not ask the registry for focus changes\n"
            << program.log();
        const CaretWindow window(bus);
        ASSERT_FALSE(window.caret.isNull()) << "the text window's focus was never announced\n"
                                            << program.log();
        const QPoint below = window.caret.topLeft() + QPoint(0, window.caret.height() + 8);
        // A text window that a busy machine keeps from answering where its
        // caret is within the summon's time-out gets the wheel under its
        // field's middle: the program knew the field, so it heard the focus
        // change, and a summon again asks for the caret again. A wheel at
        // the pointer is never summoned again.
        const auto underTheFieldOnly = [&](const QRect& wheel) {
            return std::abs(wheel.top() - below.y()) <= 24 && std::abs(wheel.center().x() - below.x()) > 24;
        };
        QRect wheel;
        for (int summons = 0; summons < 5 && (summons == 0 || underTheFieldOnly(wheel)); ++summons) {
            wheel = summonAt({800, 700}, std::string("e2e-caret-") + coming.name + ".png",
                             below + QPoint(0, 162));
            xdotool("key Escape");
            release();
            EXPECT_TRUE(wheelGone(wheel.center()));
        }
        EXPECT_NEAR(wheel.center().x(), below.x(), 24) << program.log();
        EXPECT_NEAR(wheel.top(), below.y(), 24) << program.log();
    }
    EXPECT_EQ(program.stop(), 0);
}

// The smallest wheel, with "Add your own" in its empty top slot, drawn by the
// program on the bare test server; then on a server of its own under picom,
// set up to blur only behind windows that ask for it, over sharp stripes: the
// stripes behind the ring and the hub are blurred, those behind a translucent
// window that does not ask stay sharp.
TEST_F(EndToEnd, TheSmallestWheelOpensBareAndUnderACompositorThatBlursOnlyBehindTheDisc) {
    Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    config.behavior.wheelSize = 240;
    for (Wheel& wheel : config.wheels)
        if (wheel.id == "default")
            std::erase_if(wheel.slices, [](const Slice& s) { return s.position == 0; });
    writeFile(home.configFolder() / "config.json", writeConfigFile(config));
    {
        Program program(home.path, "bare");
        ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
        ASSERT_TRUE(moveMainWindowAside());
        const QPoint pointer(700, 520);
        movePointer(pointer);
        const QImage before = stillScreen(wheelRoom(pointer));
        xdotool("keydown Alt_L Super_L");
        QImage after;
        EXPECT_TRUE(waitFor(
            [&] {
                after = grabScreen();
                return changedArea(before, after, pointer).width() >= 236;
            },
            patience))
            << program.log();
        stillScreen(wheelRoom(pointer)).save(artifact("e2e-wheel-240-bare.png"));
        release();
    }

    ASSERT_TRUE(Compositor::installed()) << "picom is not installed: scripts/setup installs it";
    const PrivateDisplay display(home.path);
    ASSERT_FALSE(display.name.empty()) << "no private X server: Xvfb did not start";
    QProcess backdrop;
    backdrop.setProcessEnvironment(display.environment());
    backdrop.start(RONDELIX_STRIPED_BACKDROP, {});
    ASSERT_TRUE(waitFor([&] { return backdrop.waitForReadyRead(50) && backdrop.readAll().contains("ready"); },
                        patience));
    Compositor picom(display, home.path,
                     "blur-background = true;\n"
                     "blur-background-fixed = true;\n"
                     "blur-kern = \"7x7box\";\n"
                     "blur-background-exclude = [ \"!_KDE_NET_WM_BLUR_BEHIND_REGION@:32c\" ];\n");
    ASSERT_TRUE(picom.start()) << picom.said();

    Program program(home.path, "composited", {}, display.environment());
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    // The main window, open for want of a tray, goes off the screen.
    ASSERT_TRUE(display.moveMainWindowAside());
    display.xdotool("mousemove 512 384");
    display.xdotool("keydown Alt_L Super_L");
    // Above the empty top slot's marker, inside the rim; the control window;
    // the panel's clear margin beside the disc; the hub below the wheel's name.
    const QPoint ring(512 - 16, 384 - 112), control(60, 140), margin(512 - 200, 384), hub(512, 384 + 30);
    // Blurring in software keeps the X server busy for a while. The light
    // ring has faded in once it is as bright as its opacity makes it over
    // any backdrop (while it fades in, the stripes' grey shows through) and
    // stays the same in every grab for a quarter of a second.
    const auto [screen, shown] =
        steady([&] { return display.grab(); }, std::chrono::milliseconds(250),
               [&](const QImage& grab) { return rowBrightness(grab, ring.x(), ring.y()).mean > 200; });
    screen.save(artifact("e2e-wheel-240-picom.png"));
    display.xdotool("keyup Super_L Alt_L");
    ASSERT_TRUE(shown) << program.log();

    // Unblurred, the ring at the user's opacity lets (1 - opacity) of the
    // stripes' swing through.
    const double unblurred = (1 - config.behavior.opacity) * 255;
    const int behindRing = rowBrightness(screen, ring.x(), ring.y()).swing;
    const int behindControl = rowBrightness(screen, control.x(), control.y()).swing;
    std::cout << "[ measured ] stripe swing behind the ring " << behindRing << " (unblurred " << unblurred
              << "), the control window " << behindControl << ", the panel's margin "
              << rowBrightness(screen, margin.x(), margin.y()).swing << "\n";
    EXPECT_LT(behindRing, 0.4 * unblurred);
    // The hub is of the ring's material, no hole onto the desktop.
    EXPECT_LT(rowBrightness(screen, hub.x(), hub.y()).swing, 0.4 * unblurred);
    EXPECT_GT(behindControl, 100);
    EXPECT_EQ(program.stop(), 0);
    picom.stop();
    backdrop.kill();
    backdrop.waitForFinished(3000);
}

} // namespace
} // namespace rondelix::e2e
