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
    // Each step waits for the window it reaches to take the next keys.
    static void keys(const std::string& names) {
        xdotool("key --delay 60 " + names);
        pause(0.4);
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
            5);
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
    // menu) and waits until it shows, so that the next keys reach it.
    bool opening(const Program& program, const std::string& names) const {
        const auto shown = [&] {
            const std::string ids = output("xdotool search --onlyvisible --pid " +
                                           std::to_string(program.process.processId()) + " 2>/dev/null");
            return std::count(ids.begin(), ids.end(), '\n');
        };
        const auto before = shown();
        xdotool("key --delay 60 " + names);
        const bool opened = waitFor([&] { return shown() > before; }, 5);
        pause(0.3);
        return opened;
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
    ASSERT_FALSE(windowNamed("Welcome to Rondelix").empty()) << program.log();
    const auto started = Clock::now();
    pause(0.8);
    keys("Escape");
    ASSERT_TRUE(waitFor([] { return largestWindowNamed("Welcome to Rondelix").empty(); }, 3))
        << program.log();
    ASSERT_FALSE(mainWindowId().empty()) << program.log();
    pause(0.5);

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

    // From the label to the icon's kind, then Choose Symbol….
    ASSERT_TRUE(opening(program, "Tab Tab space")) << program.log();
    ASSERT_FALSE(windowNamed("Symbols").empty()) << program.log();
    xdotool("type --delay 30 heart");
    keys("Down");
    shoot("symbol-cell.png");
    keys("Return");
    EXPECT_TRUE(thirdSlotShows([](const Slice& s) {
        const auto* symbol = s.icon.as<Icon::SfSymbol>();
        return symbol && symbol->name.rfind("heart", 0) == 0;
    })) << program.log();

    // Back to the icon's kind, on to Emoji, then Choose Emoji….
    ASSERT_TRUE(opening(program, "shift+Tab F4"));
    keys("Down Return");
    // Past the emoji's own field to Choose Emoji….
    ASSERT_TRUE(opening(program, "Tab Tab space")) << "no emoji popup";
    xdotool("type --delay 30 rocket");
    keys("Down");
    shoot("emoji-cell.png");
    keys("Return");
    EXPECT_TRUE(thirdSlotShows([](const Slice& s) {
        const auto* emoji = s.icon.as<Icon::Emoji>();
        return emoji && emoji->text == "\U0001F680";
    })) << program.log();

    // On to the action's kind: Keystroke is the seventh; then Record.
    ASSERT_TRUE(opening(program, "Tab Tab F4"));
    keys(times(6, "Down") + " Return");
    keys("Tab space");
    keys("ctrl+shift+k");
    EXPECT_TRUE(thirdSlotShows([](const Slice& s) {
        const auto* keystroke = s.action.as<MacroAction::Keystroke>();
        return keystroke && keystroke->combo.control && keystroke->combo.shift && !keystroke->combo.option;
    })) << program.log();

    // Back to the pills (the status pill has left the sidebar by now), and
    // the pill's menu moves the wheel up.
    pause(std::max(0.0, 16.0 - std::chrono::duration<double>(Clock::now() - started).count()));
    keys(times(13, "shift+Tab"));
    shoot("pill.png");
    ASSERT_TRUE(opening(program, "Menu")) << "no pill menu";
    keys("Down Return");
    EXPECT_TRUE(fileShows([](const Config& c) {
        return c.wheels.size() == 5 && c.wheels[3].name == "Wheel 5";
    })) << program.log();

    // Past the buttons to the sidebar, down to the gallery, and through its
    // search and categories to its wheels; the second one goes in.
    keys(times(5, "shift+Tab") + " Down");
    pause(0.6);
    keys("Tab Tab Tab Down");
    shoot("gallery-row.png");
    ASSERT_TRUE(opening(program, "Tab space")) << "no review sheet";
    keys("Return");
    EXPECT_TRUE(fileShows([](const Config& c) { return c.wheels.size() == 6; })) << program.log();

    // Back to the sidebar, down to Bindings: its last button opens the
    // System Action Setup window, and Esc closes it.
    keys(times(4, "shift+Tab") + " Down Down");
    pause(0.6);
    keys("shift+Tab space");
    ASSERT_FALSE(windowNamed("System Action Setup").empty()) << program.log();
    pause(0.3);
    keys("Escape");
    EXPECT_TRUE(waitFor([] { return largestWindowNamed("System Action Setup").empty(); }, 3))
        << program.log();

    // Round to the sidebar, down to About: How It Works opens the guide, and
    // Esc closes it.
    keys("Tab " + times(4, "Down"));
    pause(0.6);
    keys(times(3, "shift+Tab") + " space");
    ASSERT_FALSE(windowNamed("How Rondelix Works").empty()) << program.log();
    pause(0.3);
    keys("Escape");
    EXPECT_TRUE(waitFor([] { return largestWindowNamed("How Rondelix Works").empty(); }, 3)) << program.log();

    // The main window has the keys back at once.
    keys("ctrl+q");
    EXPECT_EQ(program.exit(), 0) << program.log();
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutWindowManager, KeyboardOnly, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Managed" : "Bare"; });

} // namespace
} // namespace rondelix::e2e
