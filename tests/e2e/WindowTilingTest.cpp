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

// Openbox with the desktop's top-half key alone, which fills the top half of
// the screen with the focused window.
fs::path windowManagerSettings(const fs::path& folder, const std::string& key) {
    const fs::path file = folder / "rc.xml";
    writeFile(file, R"(<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <keyboard>
    <keybind key=")" + key +
                        R"(">
      <action name="MoveResizeTo"><x>0</x><y>0</y><width>100%</width><height>50%</height></action>
    </keybind>
  </keyboard>
</openbox_config>
)");
    return file;
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
    const auto addedAt = [&] {
        const auto config = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
        for (std::size_t i = 0; config && i < config->wheels.size(); ++i)
            if (config->wheels[i].name == "Window Tiling") return static_cast<int>(i);
        return -1;
    };
    ASSERT_TRUE(waitFor([&] { return addedAt() >= 0; }, patience)) << program.log();
    ASSERT_LT(addedAt(), 9);
    // The window manager comes once the wheel is added: the gallery is worked
    // the way the rig knows, in an unframed window.
    const WindowManager manager({}, windowManagerSettings(home.path, desktop.topHalfKey));
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

} // namespace
} // namespace rondelix::e2e
