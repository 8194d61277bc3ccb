#include "EndToEndRig.h"

namespace rondelix::e2e {
namespace {

// The whole program driven by the keyboard alone, the pointer parked away from
// every window: a wheel added and one of its slots filled through the pickers
// and the recorder, the wheel moved, a gallery wheel added, every side window
// closed with Esc and the program quit with Ctrl+Q, with and without a window
// manager to hand the keys from window to window.
class KeyboardOnly : public EndToEnd, public ::testing::WithParamInterface<bool> {
  protected:
    // Each step waits for what the keys did to show, so that the next keys
    // reach the widget or window they moved to.
    static void keys(const std::string& names) {
        xdotool("key --delay 60 " + names);
        stillScreen();
    }
    static std::string times(int count, const std::string& name) {
        std::string names;
        for (int i = 0; i < count; ++i)
            names += (i ? " " : "") + name;
        return names;
    }
    bool fileShows(const std::function<bool(const Config&)>& check) const {
        return waitFor(
            [&] {
                const auto config = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
                return config && check(*config);
            },
            patience);
    }
    // The third slot of the wheel the test added.
    bool thirdSlotShows(const std::function<bool(const Slice&)>& check) const {
        return fileShows([&](const Config& config) {
            for (const Wheel& wheel : config.wheels)
                for (const Slice& slice : wheel.slices)
                    if (wheel.name == "Wheel 5" && slice.position == 2) return check(slice);
            return false;
        });
    }
    // Presses keys that open a window of the program (a dialog, a popup, a
    // menu) and waits until it shows, drawn, so that the next keys reach it.
    bool opening(const Program& program, const std::string& names) const {
        const std::set<std::string> before = windowsOf(program);
        xdotool("key --delay 60 " + names);
        return !newWindowOf(program, before).empty();
    }
    // Presses keys that close a window of the program (a menu, a popup, a
    // dialog) and waits until it has gone and the screen is at rest, so that
    // the next keys reach the window under it rather than the closing one.
    bool closing(const Program& program, const std::string& names) const {
        const std::set<std::string> before = windowsOf(program);
        xdotool("key --delay 60 " + names);
        const bool closed = waitFor(
            [&] {
                const std::set<std::string> now = windowsOf(program);
                return std::ranges::any_of(before, [&](const std::string& id) { return !now.contains(id); });
            },
            patience);
        EXPECT_TRUE(waitFor([&] { return keysGoTo(program); }, patience)) << "the keys went nowhere";
        stillScreen();
        return closed;
    }
    void shoot(const std::string& name) const {
        grabScreen().save(artifact("keyboard-" + variant + "-" + name));
    }

    std::string variant = GetParam() ? "managed" : "bare";
};

TEST_P(KeyboardOnly, AddsAndFillsAWheelMovesItAddsAGalleryWheelClosesEverySideWindowAndQuits) {
    std::optional<WindowManager> manager;
    if (GetParam()) {
        manager.emplace();
        ASSERT_TRUE(manager->running) << "openbox did not start: scripts/setup installs it";
    }
    // A first start: the onboarding opens over the main window.
    writeFile(home.configFolder() / "defaults.json", "{}");
    xdotool("mousemove 1599 999");
    Program program(home.path, "keyboard-" + variant);
    const std::string onboarding = windowNamed("Welcome to Rondelix");
    ASSERT_FALSE(onboarding.empty()) << program.log();
    stillScreen(windowGeometry(onboarding));
    keys("Escape");
    ASSERT_TRUE(waitFor([] { return largestWindowNamed("Welcome to Rondelix").empty(); }, patience))
        << program.log();
    const std::string main = mainWindowId();
    ASSERT_FALSE(main.empty()) << program.log();
    stillScreen();

    // The sidebar has the keys; past the status pill to Add Wheel.
    keys("Tab Tab space");
    ASSERT_TRUE(fileShows([](const Config& c) {
        return c.wheels.size() == 5 && c.wheels[4].name == "Wheel 5";
    })) << program.log();
    // Past Import, Export and Undo to the pills, on to the wheel and its third slot.
    keys("Tab Tab Tab Tab Tab Right Right");
    shoot("slot.png");
    // Past the wheel card (name, slices, opens for, duplicate, delete) to Add Action.
    keys(times(6, "Tab") + " space");
    ASSERT_TRUE(thirdSlotShows([](const Slice&) { return true; })) << program.log();
    // The focus is on the new slice's label, whose placeholder the typing replaces.
    xdotool("type --delay 30 Launch");
    EXPECT_TRUE(thirdSlotShows([](const Slice& s) { return s.label == "Launch"; })) << program.log();

    // From the label to the icon's kind, then Choose Symbol….
    ASSERT_TRUE(opening(program, "Tab Tab space")) << program.log();
    ASSERT_FALSE(windowNamed("Symbols").empty()) << program.log();
    xdotool("type --delay 30 heart");
    keys("Down");
    shoot("symbol-cell.png");
    EXPECT_TRUE(closing(program, "Return")) << "the symbol picker stayed";
    EXPECT_TRUE(thirdSlotShows([](const Slice& s) {
        const auto* symbol = s.icon.as<Icon::SfSymbol>();
        return symbol && symbol->name.rfind("heart", 0) == 0;
    })) << program.log();

    // Back to the icon's kind, on to Emoji, then Choose Emoji….
    ASSERT_TRUE(opening(program, "shift+Tab F4"));
    EXPECT_TRUE(closing(program, "Down Return")) << "the icon's kinds stayed";
    // Past the emoji's own field to Choose Emoji….
    ASSERT_TRUE(opening(program, "Tab Tab space")) << "no emoji popup";
    xdotool("type --delay 30 rocket");
    keys("Down");
    shoot("emoji-cell.png");
    EXPECT_TRUE(closing(program, "Return")) << "the emoji popup stayed";
    EXPECT_TRUE(thirdSlotShows([](const Slice& s) {
        const auto* emoji = s.icon.as<Icon::Emoji>();
        return emoji && emoji->text == "\U0001F680";
    })) << program.log();

    // On to the action's kind: Keystroke is the seventh; then Record.
    ASSERT_TRUE(opening(program, "Tab Tab F4"));
    EXPECT_TRUE(closing(program, times(6, "Down") + " Return")) << "the action's kinds stayed";
    keys("Tab space");
    keys("ctrl+shift+k");
    EXPECT_TRUE(thirdSlotShows([](const Slice& s) {
        const auto* keystroke = s.action.as<MacroAction::Keystroke>();
        return keystroke && keystroke->combo.control && keystroke->combo.shift && !keystroke->combo.alt;
    })) << program.log();

    // Back to the pills once the status pill at the sidebar's foot has faded
    // out and left the Tab order, and the pill's menu moves the wheel up. The
    // pill is the only green there (the note that may drop into its place is
    // grey); its removal follows the fade's last frame, after which the foot
    // stays as it is.
    const QPoint origin = windowOrigin(main);
    const QRect statusPill(origin.x() + 4, origin.y() + windowSize(main).height() - 64, 212, 56);
    EXPECT_TRUE(waitFor(
        [&] {
            const QImage place = grabScreen().copy(statusPill);
            const QColor ground = place.pixelColor(0, 0);
            for (int y = 0; y < place.height(); ++y)
                for (int x = 0; x < place.width(); ++x) {
                    const QColor seen = place.pixelColor(x, y);
                    if (seen.green() - seen.red() > ground.green() - ground.red() + 3) return false;
                }
            return true;
        },
        patience))
        << "the status pill stayed";
    EXPECT_TRUE(
        steady([&] { return grabScreen().copy(statusPill.adjusted(0, -64, 0, 0)); }, std::chrono::seconds(1))
            .held)
        << "the sidebar's foot kept changing";
    stillScreen();
    keys(times(13, "shift+Tab"));
    shoot("pill.png");
    ASSERT_TRUE(opening(program, "Menu")) << "no pill menu";
    EXPECT_TRUE(closing(program, "Down Return")) << "the pill menu stayed";
    EXPECT_TRUE(fileShows([](const Config& c) {
        return c.wheels.size() == 5 && c.wheels[3].name == "Wheel 5";
    })) << program.log();

    // Past the buttons to the sidebar, down to the gallery, and through its
    // search and categories to its wheels; the second one goes in.
    keys(times(5, "shift+Tab") + " Down");
    keys("Tab Tab Tab Down");
    shoot("gallery-row.png");
    ASSERT_TRUE(opening(program, "Tab space")) << "no review sheet";
    EXPECT_TRUE(closing(program, "Return")) << "the review sheet stayed";
    EXPECT_TRUE(fileShows([](const Config& c) { return c.wheels.size() == 6; })) << program.log();

    // Back to the sidebar, down to Bindings: its last button opens the
    // System Action Setup window, and Esc closes it.
    keys(times(4, "shift+Tab") + " Down Down");
    keys("shift+Tab space");
    const std::string setup = windowNamed("System Action Setup");
    ASSERT_FALSE(setup.empty()) << program.log();
    stillScreen(windowGeometry(setup));
    keys("Escape");
    EXPECT_TRUE(waitFor([] { return largestWindowNamed("System Action Setup").empty(); }, patience))
        << program.log();

    // Round to the sidebar, down to About: How It Works opens the guide, and
    // Esc closes it.
    keys("Tab " + times(4, "Down"));
    keys(times(3, "shift+Tab") + " space");
    const std::string guide = windowNamed("How Rondelix Works");
    ASSERT_FALSE(guide.empty()) << program.log();
    stillScreen(windowGeometry(guide));
    keys("Escape");
    EXPECT_TRUE(waitFor([] { return largestWindowNamed("How Rondelix Works").empty(); }, patience))
        << program.log();

    // The main window has the keys back at once.
    keys("ctrl+q");
    EXPECT_EQ(program.exit(), 0) << program.log();
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, KeyboardOnly, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Managed" : "Bare"; });

} // namespace
} // namespace rondelix::e2e
