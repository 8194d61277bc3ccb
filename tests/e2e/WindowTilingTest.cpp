// The gallery's window wheel, added on a desktop and fired over a terminal,
// works that desktop's window manager through its stock keys. A window manager
// that takes the desktop's key for the top half stands in for the desktop's
// own: what counts is that the key the slot sends reaches it with the summon
// keys still held, and that the window moves.

#include "EndToEndRig.h"

namespace rondelix::e2e {
namespace {

struct Desktop {
    const char* name;
    // The stock key for the top half, as openbox names it.
    const char* topHalfKey;
};

class WindowTiling : public EndToEnd, public ::testing::WithParamInterface<Desktop> {};

// Openbox with the given key bindings alone, each an action written as its
// rc.xml writes it.
fs::path windowManagerSettings(const fs::path& folder,
                               const std::vector<std::pair<std::string, std::string>>& bindings) {
    std::string keyboard;
    for (const auto& [key, action] : bindings)
        keyboard += "    <keybind key=\"" + key + "\">" + action + "</keybind>\n";
    const fs::path file = folder / "rc.xml";
    writeFile(file, R"(<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <keyboard>
)" + keyboard + R"(  </keyboard>
</openbox_config>
)");
    return file;
}

// Fills the top or the left or right half of the screen with the focused window.
const std::string topHalf =
    R"(<action name="MoveResizeTo"><x>0</x><y>0</y><width>100%</width><height>50%</height></action>)";
const std::string leftHalf =
    R"(<action name="MoveResizeTo"><x>0</x><y>0</y><width>50%</width><height>100%</height></action>)";
const std::string rightHalf =
    R"(<action name="MoveResizeTo"><x>-0</x><y>0</y><width>50%</width><height>100%</height></action>)";

// The position in the wheel's list of the wheel of that name; -1 while none has it.
int wheelIndex(const TestHome& home, const std::string& name) {
    const auto config = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    for (std::size_t i = 0; config && i < config->wheels.size(); ++i)
        if (config->wheels[i].name == name) return static_cast<int>(i);
    return -1;
}

TEST_P(WindowTiling, TheTopHalfSlotTilesTheWindowWithTheDesktopsOwnKey) {
    ASSERT_EQ(std::system("command -v xterm >/dev/null"), 0)
        << "xterm is not installed (scripts/setup installs it)";
    const Desktop desktop = GetParam();
    QProcessEnvironment extra;
    extra.insert("XDG_CURRENT_DESKTOP", desktop.name);
    const std::string shots = std::string("window-tiling-") + desktop.name;
    Program program(home.path, shots, {}, extra);
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    addFromGallery(id, "Window Tiling", shots);
    const auto addedAt = [&] { return wheelIndex(home, "Window Tiling"); };
    ASSERT_TRUE(waitFor([&] { return addedAt() >= 0; }, patience)) << program.log();
    ASSERT_LT(addedAt(), 9);
    // The window manager comes once the wheel is added: the gallery is worked
    // the way the rig knows, in an unframed window.
    const WindowManager manager({}, windowManagerSettings(home.path, {{desktop.topHalfKey, topHalf}}));
    ASSERT_TRUE(manager.running) << "openbox is not installed (scripts/setup installs it)";
    ASSERT_TRUE(moveMainWindowAside()) << program.log();

    QProcess terminal;
    terminal.start("xterm", {"-geometry", "40x8+700+700"});
    const std::string window = shownWindowOf(terminal);
    ASSERT_FALSE(window.empty());
    xdotool("windowactivate --sync " + window);
    const QRect before = windowFrame(window);

    const QRect wheel = summonAt({800, 520}, shots + "-summoned.png");
    ASSERT_GE(wheel.width(), 300) << program.log();
    const QImage first = grabScreen();
    xdotool("key " + std::to_string(addedAt() + 1));
    EXPECT_TRUE(screenChanges(first, wheel));
    stillScreen(wheel).save(artifact(shots + "-wheel.png"));
    aimAtTopSlot();
    release();

    QRect after;
    EXPECT_TRUE(waitFor(
        [&] {
            after = windowFrame(window);
            return after.top() < 100 && after.height() > 400;
        },
        patience))
        << "before " << before.y() << "+" << before.height() << ", after " << after.y() << "+"
        << after.height() << "\n"
        << program.log();
    grabScreen().save(artifact(shots + "-tiled.png"));
    terminal.kill();
    terminal.waitForFinished(3000);
    EXPECT_EQ(program.stop(), 0);
}

// Plasma (and Cinnamon, and a desktop the program does not know) tile on
// Super and an arrow, Xfce on Super and the keypad's arrows.
INSTANTIATE_TEST_SUITE_P(Desktops, WindowTiling,
                         ::testing::Values(Desktop{"KDE", "W-Up"}, Desktop{"XFCE", "W-KP_Up"}),
                         [](const auto& info) { return std::string(info.param.name); });

// MATE's window manager restores a maximized window on Super+Down and tiles
// the halves on Super and the arrows, where Alt+F5 does nothing: a stand-in
// that binds those keys alone is restored and tiled through the wheel.
TEST_F(EndToEnd, OnMateTheWindowWheelRestoresAndTilesWithMarcosKeys) {
    ASSERT_EQ(std::system("command -v xterm >/dev/null"), 0)
        << "xterm is not installed (scripts/setup installs it)";
    QProcessEnvironment extra;
    extra.insert("XDG_CURRENT_DESKTOP", "MATE");
    const std::string shots = "window-tiling-marco";
    Program program(home.path, shots, {}, extra);
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    addFromGallery(id, "Window Tiling", shots);
    ASSERT_TRUE(waitFor([&] { return wheelIndex(home, "Window Tiling") >= 0; }, patience)) << program.log();
    const int wheel = wheelIndex(home, "Window Tiling");
    ASSERT_LT(wheel, 9);
    // marco's toggle-maximized, unmaximize, tile-to-side-w and tile-to-side-e.
    const WindowManager manager(
        {}, windowManagerSettings(home.path, {{"A-F10", R"(<action name="ToggleMaximize"/>)"},
                                              {"W-Down", R"(<action name="Unmaximize"/>)"},
                                              {"W-Left", leftHalf},
                                              {"W-Right", rightHalf}}));
    ASSERT_TRUE(manager.running) << "openbox is not installed (scripts/setup installs it)";
    ASSERT_TRUE(moveMainWindowAside()) << program.log();

    QProcess terminal;
    terminal.start("xterm", {"-geometry", "40x8+700+700"});
    const std::string window = shownWindowOf(terminal);
    ASSERT_FALSE(window.empty());
    xdotool("windowactivate --sync " + window);
    xdotool("key alt+F10");
    QRect frame;
    ASSERT_TRUE(waitFor([&] { return (frame = windowFrame(window)).width() > 1500; }, patience))
        << "the stand-in did not maximize the terminal: " << frame.width();

    // Fires the slot `aim` away from the wheel's centre, then waits until the
    // terminal's frame is as wanted.
    const auto fireSlot = [&](QPoint aim, const std::string& step, const std::function<bool(QRect)>& wanted) {
        xdotool("windowactivate --sync " + window);
        const QRect shown = summonAt({800, 520}, shots + "-" + step + "-summoned.png");
        ASSERT_GE(shown.width(), 300) << program.log();
        xdotool("key " + std::to_string(wheel + 1));
        stillScreen(shown);
        aimAt(slotAt(QCursor::pos(), aim), [aim] {
            xdotool("mousemove_relative -- " + std::to_string(aim.x()) + " " + std::to_string(aim.y()));
        });
        release();
        EXPECT_TRUE(waitFor([&] { return wanted(frame = windowFrame(window)); }, patience))
            << step << ": " << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height()
            << "\n"
            << program.log();
        grabScreen().save(artifact(shots + "-" + step + ".png"));
    };
    // Restore is the slot before the top one, Left Half the left one, Right
    // Half the right one.
    fireSlot({-78, -78}, "restored", [](QRect f) { return f.width() < 800 && f.height() < 400; });
    fireSlot({-110, 0}, "left-half",
             [](QRect f) { return f.x() < 20 && f.width() > 700 && f.width() < 900; });
    fireSlot({110, 0}, "right-half",
             [](QRect f) { return f.x() > 700 && f.width() > 700 && f.width() < 900; });
    terminal.kill();
    terminal.waitForFinished(3000);
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix::e2e
