// Summon, aim and release the way hands do them: the arrow still held when
// the summon keys come up, everything let go at once, the pointer moved by a
// mouse, by a warp or by a remote desktop's absolute moves. What counts is
// what the application under the wheel receives.

#include "EndToEndRig.h"
#include "XTestPointer.h"

namespace rondelix {
namespace {

using namespace e2e;

// The project's key recorder, focused at the top left of the screen: one
// line per key event it receives. It starts once the program is ready and
// its main window out of the way, so that it keeps the keyboard focus.
struct KeyRecorder {
    explicit KeyRecorder(const Program& program) {
        if (!program.waitForLine("Rondelix: ready.") || !moveMainWindowAside()) return;
        process.start(RONDELIX_KEY_RECORDER, {});
        ready = waitForLine("ready", patience);
    }
    ~KeyRecorder() {
        process.kill();
        process.waitForFinished(3000);
    }
    void read() {
        process.waitForReadyRead(5);
        while (process.canReadLine())
            lines << QString::fromUtf8(process.readLine()).trimmed();
    }
    bool waitForLine(const QString& line, double seconds) {
        return waitFor(
            [&] {
                read();
                return lines.contains(line);
            },
            seconds);
    }
    // The lines since `from` that mention this keysym.
    QStringList about(qsizetype from, const QString& keysym) const {
        return lines.mid(from).filter(" " + keysym + " ");
    }

    QProcess process;
    QStringList lines;
    bool ready = false;
};

constexpr QPoint wheelCentre(800, 520);
const QString strokePress = "press 0x4b ctrl+shift"; // Ctrl+Shift+K as the recorder reads it
const QString altKey = "0xffe9", superKey = "0xffeb", upKey = "0xff52";

struct Way {
    const char* name;
    std::function<void()> aimAndRelease;
};

// Whether the four corners of the wheel's square, outside its disc, show
// black: over a grey desktop only a wrongly drawn frame does that.
bool cornersBlack(const QImage& frame, const QRect& wheel) {
    const QRect inner = wheel.adjusted(6, 6, -6, -6);
    for (const QPoint corner : {inner.topLeft(), inner.topRight(), inner.bottomLeft(), inner.bottomRight()})
        if (!frame.rect().contains(corner) || qGray(frame.pixel(corner)) > 8) return false;
    return true;
}

// Moves the pointer onto the top slot one way or another, and waits until the
// wheel shows that slot aimed at: a warp moves nothing that listens to the
// mouse, and the program sees it only when it next looks.
void aimWith(const std::function<void()>& move) {
    aimAt(slotAt(wheelCentre), move);
}

// Holds the arrow that aims at the top slot, until the wheel shows it aimed.
void holdUp() {
    aimWith([] { xdotool("keydown Up"); });
}

TEST_F(EndToEnd, AKeystrokeSliceArrivesCleanHoweverItIsAimedAndWhateverComesUpFirst) {
    home.setTopSlotAction(MacroAction::Keystroke{KeyCombo{.keyCode = 40, .primary = true, .shift = true}});
    Program program(home.path, "summon-aim-release");
    KeyRecorder recorder(program);
    ASSERT_TRUE(recorder.ready) << program.log() << recorder.lines.join(" | ").toStdString();
    // A grey desktop, against which a black frame of the wheel would show.
    const bool greyDesktop = std::system("xsetroot -solid '#808080' 2>/dev/null") == 0;
    EXPECT_TRUE(greyDesktop)
        << "xsetroot did not set the desktop grey (scripts/setup installs x11-xserver-utils)";

    const Way ways[] = {
        // Held on past the auto-repeat delay: the repeats are swallowed too.
        // The gaps between the keys are the hands' timing, part of what the
        // X server is given, as xdotool's own delays between keys are.
        {"summon keys up, the arrow 0.8 s later",
         [] {
             holdUp();
             xdotool("keyup Super_L Alt_L sleep 0.8 keyup Up");
         }},
        {"summon keys up, the arrow 80 ms later",
         [] {
             holdUp();
             xdotool("keyup Super_L Alt_L sleep 0.08 keyup Up");
         }},
        {"the arrow up first",
         [] {
             holdUp();
             xdotool("keyup Up sleep 0.08 keyup Super_L Alt_L");
         }},
        {"everything up at once",
         [] {
             holdUp();
             xdotool("keyup Super_L Alt_L Up");
         }},
        {"a relative move, as a mouse makes it",
         [] {
             aimWith([] { xdotool("mousemove_relative -- 0 -110"); });
             xdotool("keyup Super_L Alt_L");
         }},
        {"a warp of the pointer",
         [] {
             aimWith([] { xdotool("mousemove 800 410"); });
             xdotool("keyup Super_L Alt_L");
         }},
        {"an absolute move through XTest, as a remote desktop makes it",
         [] {
             aimWith([] { EXPECT_TRUE(xtestMovePointer(800, 410)); });
             xdotool("keyup Super_L Alt_L");
         }},
    };
    int shot = 0;
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        recorder.read();
        const qsizetype from = recorder.lines.size();
        const QRect wheel =
            summonAt(wheelCentre, "e2e-summon-aim-release-" + std::to_string(++shot) + ".png");
        EXPECT_GE(wheel.width(), 300) << program.log();
        way.aimAndRelease();
        // No frame of the closing wheel, until it has gone, shows its whole
        // square black.
        int blackFrames = 0;
        waitFor(
            [&] {
                const QImage frame = grabScreen();
                blackFrames += cornersBlack(frame, wheel) ? 1 : 0;
                return changedArea(beforeSummon, frame, wheelCentre).width() < 300;
            },
            patience);
        EXPECT_EQ(blackFrames, 0);
        // The keystroke comes, and after it the summon keys the program
        // lifted around it, put back and then let go by the hands.
        const auto upAgain = [&](const QString& key) {
            const QStringList mentions = recorder.about(from, key);
            return !mentions.isEmpty() && mentions.last().startsWith("release");
        };
        EXPECT_TRUE(waitFor(
            [&] {
                recorder.read();
                return recorder.lines.indexOf(strokePress, from) >= 0 && upAgain(altKey) && upAgain(superKey);
            },
            patience))
            << recorder.lines.mid(from).join(" | ").toStdString();
        recorder.read();
        const QStringList seen = recorder.lines.mid(from);
        EXPECT_EQ(seen.count(strokePress), 1) << seen.join(" | ").toStdString();
        // The arrow's repeats are swallowed; its release alone, which X lets
        // no grab take without holding the whole keyboard, means nothing.
        EXPECT_TRUE(recorder.about(from, upKey).filter("press").isEmpty()) << seen.join(" | ").toStdString();
        // The summon keys end up, as the hands left them.
        for (const QString& key : {altKey, superKey})
            EXPECT_TRUE(upAgain(key)) << key.toStdString() << ": " << seen.join(" | ").toStdString();
    }
    // A late fire, such as the watchdog's of a release it thinks was missed,
    // shows in the row of a later way, or here.
    recorder.read();
    EXPECT_EQ(recorder.lines.count(strokePress), static_cast<qsizetype>(std::size(ways)))
        << recorder.lines.join(" | ").toStdString();
    EXPECT_FALSE(program.hasLine("watchdog")) << program.log();
    EXPECT_EQ(program.stop(), 0);
    if (greyDesktop) {
        EXPECT_EQ(std::system("xsetroot -solid black"), 0);
    }
}

// Keys the open wheel takes (a wheel's number, Tab, a keypad digit, a letter
// typed while a slot is aimed) reach the application neither going down nor
// coming up, also when one is pressed while another is still down.
TEST_F(EndToEnd, KeysTheOpenWheelTakesNeverComeUpInTheApplication) {
    home.setTopSlotAction(MacroAction::Keystroke{KeyCombo{.keyCode = 40, .primary = true, .shift = true}});
    Program program(home.path, "taken-keys");
    KeyRecorder recorder(program);
    ASSERT_TRUE(recorder.ready) << program.log() << recorder.lines.join(" | ").toStdString();

    struct Taken {
        const char* name;
        bool aimed;
        std::string keys;
        QStringList keysyms;
    };
    // The two that aim fire the main wheel's top slot, so they come while
    // that wheel still opens; the rest switch wheels or do nothing.
    const Taken cases[] = {
        {"a keypad digit", false, "key KP_Up", {"0xffb8", "0xff97"}},
        {"a letter while a slot is aimed", true, "key x", {"0x78"}},
        {"a number past the wheels", false, "key 5", {"0x35"}},
        {"the tenth wheel's number", false, "key 0", {"0x30"}},
        {"a number pressed over another", false, "keydown 2 keydown 3 keyup 2 keyup 3", {"0x32", "0x33"}},
        {"Tab", false, "key Tab", {"0xff09"}},
        {"a wheel's number", false, "key 1", {"0x31"}},
    };
    int shot = 0;
    for (const Taken& taken : cases) {
        SCOPED_TRACE(taken.name);
        recorder.read();
        const qsizetype from = recorder.lines.size();
        ASSERT_GE(summonAt(wheelCentre, "e2e-taken-keys-" + std::to_string(++shot) + ".png").width(), 300)
            << program.log();
        if (taken.aimed) aimAtTopSlot();
        xdotool(taken.keys);
        release();
        EXPECT_TRUE(wheelGone(wheelCentre));
        recorder.read();
        const QStringList seen = recorder.lines.mid(from);
        for (const QString& keysym : taken.keysyms)
            EXPECT_TRUE(recorder.about(from, keysym).isEmpty()) << seen.join(" | ").toStdString();
    }
    // A last fire, which the recorder receives after anything the program
    // let through before it: none of the keys came up late either.
    ASSERT_TRUE(fireTopSlot(program, "e2e-taken-keys-last.png", wheelCentre));
    EXPECT_TRUE(waitFor(
        [&] {
            recorder.read();
            return recorder.lines.count(strokePress) >= 3;
        },
        patience))
        << recorder.lines.join(" | ").toStdString();
    for (const Taken& taken : cases)
        for (const QString& keysym : taken.keysyms)
            EXPECT_TRUE(recorder.about(0, keysym).isEmpty()) << taken.name;
    EXPECT_EQ(recorder.lines.count(strokePress), 3) << recorder.lines.join(" | ").toStdString();
    EXPECT_FALSE(program.hasLine("watchdog")) << program.log();
    // The keys were answered in time, also on a busy machine.
    EXPECT_FALSE(program.hasLine("answered too slowly")) << program.log();
    EXPECT_EQ(program.stop(), 0);
}

// A key the open wheel took, still held when the summon keys go up with
// nothing aimed and held on past the keyboard's repeat delay, neither goes
// down nor repeats in the application; the summon keys' own releases reach
// it. Ten times each way, with and without a window manager, since each
// depends on how the X server hands the keyboard back.
class HeldKeys : public EndToEnd, public ::testing::WithParamInterface<bool> {};

TEST_P(HeldKeys, AKeyTheWheelTookNeverRepeatsInTheApplicationAfterTheWheelCloses) {
    std::optional<WindowManager> manager;
    if (GetParam()) {
        manager.emplace();
        ASSERT_TRUE(manager->running) << "openbox did not start: scripts/setup installs it";
    }
    Program program(home.path, "held-keys");
    KeyRecorder recorder(program);
    ASSERT_TRUE(recorder.ready) << program.log() << recorder.lines.join(" | ").toStdString();

    struct Key {
        std::string name;
        QString keysym;
    };
    struct Shape {
        const char* name;
        // Taken in turn, run by run: a dismissal records the wheel it
        // showed, and a number opens another wheel than the one showing.
        std::vector<Key> keys;
        std::function<void(const Key& key, const QRect& wheel)> takeIt;
    };
    // Each waits until the wheel shows what the key did, so that the key
    // went to the open wheel.
    const auto switches = [](const Key& key, const QRect& wheel) {
        const QImage before = grabScreen();
        xdotool("keydown " + key.name);
        EXPECT_TRUE(screenChanges(before, wheel)) << key.name << " switched no wheel";
    };
    const Shape shapes[] = {
        {"a wheel's number", {{"2", "0x32"}, {"1", "0x31"}}, switches},
        {"x typed while aimed, then the aim back to the hub",
         {{"x", "0x78"}},
         [this](const Key&, const QRect&) {
             aimAtTopSlot();
             xdotool("keydown x");
             aimAt(slotAt(wheelCentre), [] { xdotool("mousemove_relative -- 0 110"); });
         }},
        {"Tab", {{"Tab", "0xff09"}}, switches},
    };
    const QString sentinel = "release 0xffc2 none"; // F5, typed once each run is over
    for (const Shape& shape : shapes) {
        for (int run = 1; run <= 10; ++run) {
            SCOPED_TRACE(std::string(shape.name) + ", run " + std::to_string(run));
            recorder.read();
            const qsizetype from = recorder.lines.size();
            const Key& key = shape.keys[static_cast<std::size_t>(run - 1) % shape.keys.size()];
            const QRect wheel = summonAt(wheelCentre, "e2e-held-keys.png");
            ASSERT_GE(wheel.width(), 300) << program.log();
            shape.takeIt(key, wheel);
            // The hands' timing: the summon keys up, the key held on past the
            // repeat delay and let go; then F5, after which the recorder has
            // everything the run sent it.
            xdotool("keyup Super_L Alt_L sleep 0.8 keyup " + key.name);
            EXPECT_TRUE(wheelGone(wheelCentre));
            xdotool("key F5");
            ASSERT_TRUE(waitFor(
                [&] {
                    recorder.read();
                    return recorder.lines.indexOf(sentinel, from) >= 0;
                },
                patience))
                << recorder.lines.mid(from).join(" | ").toStdString();
            const QStringList seen = recorder.lines.mid(from);
            EXPECT_TRUE(recorder.about(from, key.keysym).filter("press").isEmpty())
                << seen.join(" | ").toStdString();
            for (const QString& summonKey : {altKey, superKey})
                EXPECT_FALSE(recorder.about(from, summonKey).filter("release").isEmpty())
                    << summonKey.toStdString() << ": " << seen.join(" | ").toStdString();
        }
    }
    EXPECT_FALSE(program.hasLine("answered too slowly")) << program.log();
    EXPECT_EQ(program.stop(), 0);
}

// Held on long after the summon keys went up, past the time a release that
// never comes is waited for: the application still sees the key neither
// going down nor repeating, at most its release, and its window loses the
// keyboard focus to a grab at most once rather than at every repeat.
TEST_P(HeldKeys, AKeyTheWheelTookHeldLongAfterTheWheelClosesStaysOutOfTheApplication) {
    std::optional<WindowManager> manager;
    if (GetParam()) {
        manager.emplace();
        ASSERT_TRUE(manager->running) << "openbox did not start: scripts/setup installs it";
    }
    // Each summon opens the first wheel, so that each number and Tab switches.
    Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    config.behavior.reopenLastWheel = false;
    writeFile(home.configFolder() / "config.json", writeConfigFile(config));
    Program program(home.path, "held-long");
    KeyRecorder recorder(program);
    ASSERT_TRUE(recorder.ready) << program.log() << recorder.lines.join(" | ").toStdString();

    struct Key {
        const char* name;
        std::string down, up;
        QStringList keysyms;
        bool aimed;
    };
    const Key keys[] = {
        {"a wheel's number", "2", "2", {"0x32"}, false},
        {"Tab", "Tab", "Tab", {"0xff09"}, false},
        {"Shift+Tab", "Shift_L Tab", "Tab Shift_L", {"0xff09", "0xfe20"}, false},
        {"x typed while aimed, then the aim back to the hub", "x", "x", {"0x78"}, true},
    };
    const QString sentinel = "release 0xffc2 none"; // F5, typed once each run is over
    for (const double held : {2.0, 5.0})
        for (const Key& key : keys) {
            SCOPED_TRACE(std::string(key.name) + ", held " + std::to_string(held) + " s");
            recorder.read();
            const qsizetype from = recorder.lines.size();
            const QRect wheel = summonAt(wheelCentre, "e2e-held-long.png");
            ASSERT_GE(wheel.width(), 300) << program.log();
            if (key.aimed) {
                aimAtTopSlot();
                xdotool("keydown " + key.down);
                aimAt(slotAt(wheelCentre), [] { xdotool("mousemove_relative -- 0 110"); });
            } else {
                const QImage before = grabScreen();
                xdotool("keydown " + key.down);
                EXPECT_TRUE(screenChanges(before, wheel)) << key.name << " switched no wheel";
            }
            xdotool("keyup Super_L Alt_L");
            const auto up = Clock::now();
            EXPECT_TRUE(wheelGone(wheelCentre));
            // The hands' timing: the key let go that long after the summon keys.
            std::this_thread::sleep_until(up + std::chrono::duration<double>(held));
            xdotool("keyup " + key.up + " key F5");
            ASSERT_TRUE(waitFor(
                [&] {
                    recorder.read();
                    return recorder.lines.indexOf(sentinel, from) >= 0;
                },
                patience))
                << recorder.lines.mid(from).join(" | ").toStdString();
            const QStringList seen = recorder.lines.mid(from);
            const std::string told = seen.join(" | ").toStdString();
            QStringList ofTheKey;
            for (const QString& keysym : key.keysyms)
                ofTheKey << recorder.about(from, keysym);
            EXPECT_TRUE(ofTheKey.filter("press").isEmpty()) << told;
            EXPECT_LE(ofTheKey.filter("release").size(), 1) << told;
            EXPECT_TRUE(seen.filter("text ").isEmpty()) << told;
            // Once the summon keys are up, the window hears of the grab that
            // holds the key alone when it takes the key and when it lets it
            // go, not at each repeat, and keeps the focus.
            qsizetype summonUp = -1;
            for (const QString& summonKey : {altKey, superKey})
                for (qsizetype i = 0; i < seen.size(); ++i)
                    if (seen[i].startsWith("release " + summonKey + " ")) summonUp = std::max(summonUp, i);
            ASSERT_GE(summonUp, 0) << "the summon keys' releases reach the application: " << told;
            const QStringList afterSummon = seen.mid(summonUp + 1);
            const QStringList focus = afterSummon.filter("focus-");
            EXPECT_LE(focus.size(), 4) << told;
            EXPECT_TRUE(focus.isEmpty() || focus.last().startsWith("focus-in")) << told;
        }
    EXPECT_FALSE(program.hasLine("answered too slowly")) << program.log();
    EXPECT_EQ(program.stop(), 0);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, HeldKeys, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Managed" : "Bare"; });

// Without a window manager nothing names the active window: the terminal
// is found through the keyboard focus, and pastes as terminals take it.
TEST_F(EndToEnd, ATextSliceFiredOverXtermWithoutAWindowManagerArrivesInIt) {
    ASSERT_EQ(std::system("command -v xterm >/dev/null"), 0)
        << "xterm is not installed (scripts/setup installs it)";
    const std::string line = "pasted without a window manager";
    home.setTopSlotAction(MacroAction::Text{line + "\n"});
    Program program(home.path, "xterm-paste");
    ASSERT_TRUE(program.waitForLine("Rondelix: ready.")) << program.log();
    ASSERT_TRUE(moveMainWindowAside()) << program.log();

    const fs::path typed = home.path / "typed";
    QProcess terminal;
    terminal.start("xterm",
                   {"-geometry", "60x10+0+0", "-e", "sh", "-c", ("cat > " + typed.string()).c_str()});
    const std::string window = shownWindowOf(terminal);
    ASSERT_FALSE(window.empty());
    // The program finds the terminal through the keyboard focus at the summon.
    xdotool("windowfocus --sync " + window);

    ASSERT_GE(summonAt(wheelCentre, "e2e-xterm-no-manager-summoned.png").width(), 300) << program.log();
    holdUp();
    xdotool("keyup Super_L Alt_L Up");
    EXPECT_TRUE(waitFor([&] { return readFile(typed) == line + "\n"; }, patience))
        << readFile(typed) << program.log();
    stillScreen().save(artifact("e2e-xterm-no-manager-pasted.png"));
    EXPECT_FALSE(program.hasLine("watchdog")) << program.log();
    terminal.kill();
    terminal.waitForFinished(3000);
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix
