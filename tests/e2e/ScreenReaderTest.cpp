// What a screen reader hears from the running program: its accessibility tree
// read through the desktop's accessibility bus.

#include "AccessibilityTree.h"

namespace rondelix {
namespace {

using namespace e2e;

// My Wheels as a screen reader reads it: every control Tab reaches named,
// the pills and slots as lists, the inspector's fields and the slice form's
// pickers by their row labels; then the summoned wheel and its aimed slice.
TEST_F(EndToEnd, AScreenReaderHearsEveryControlOfMyWheelsNamedAndTheFieldsByTheirLabels) {
    AccessibilityBus bus(home.path / "bus");
    ASSERT_TRUE(bus.ready)
        << "the accessibility bus did not start (scripts/setup installs at-spi2-core and dbus-daemon)";
    QProcessEnvironment environment = bus.environment();
    environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    Program program(home.path, "screen-reader", {}, environment);
    ASSERT_FALSE(readyMainWindow(program).empty()) << program.log();

    AccessibilityTree reader(bus);
    std::vector<Seen> tree;
    waitFor([&] { return has(tree = reader.read(), "combo box", "", "Icon"); }, patience);
    const std::string all = dump(tree);
    for (const Seen& seen : tree)
        if (seen.focusableInSight) {
            EXPECT_FALSE(seen.name.isEmpty() && seen.labelledBy.isEmpty()) << seen.role.toStdString() << "\n"
                                                                           << all;
        }
    EXPECT_TRUE(has(tree, "text", "Name", "Name")) << all;
    EXPECT_TRUE(has(tree, "combo box", "8", "Slices")) << all;
    EXPECT_TRUE(has(tree, "push button", "Any App (Manual)", "Opens for")) << all;
    EXPECT_TRUE(has(tree, "text", "Label")) << all;
    EXPECT_TRUE(has(tree, "combo box", "None", "Icon")) << all;
    EXPECT_TRUE(has(tree, "combo box", "Script", "Action")) << all;
    EXPECT_TRUE(has(tree, "text", "Script")) << all;
    EXPECT_TRUE(has(tree, "list item", "My Wheels")) << all;
    // The pills and the preview's slots: a list each, an item per wheel and
    // per slot by its place and label.
    EXPECT_TRUE(has(tree, "list", "Wheels")) << all;
    EXPECT_TRUE(has(tree, "list item", "Main")) << all;
    EXPECT_TRUE(has(tree, "list", "Slices")) << all;
    const auto topSlot = std::ranges::find_if(
        tree, [](const Seen& s) { return s.role == "list item" && s.name.startsWith("Top: "); });
    ASSERT_NE(topSlot, tree.end()) << all;
    const QString topLabel = topSlot->name.mid(5);

    // The summoned wheel by its name, and the slice aimed at.
    ASSERT_GE(summonAt({800, 520}, "screen-reader-summoned.png").width(), 300) << program.log();
    aimAtTopSlot();
    QString aimed;
    waitFor(
        [&] {
            for (const Seen& seen : reader.read())
                if (seen.role == "graphic" && seen.name == "Main" && !seen.description.isEmpty())
                    aimed = seen.description;
            return !aimed.isEmpty();
        },
        5);
    xdotool("key Escape");
    release();
    EXPECT_EQ(aimed.toStdString(), topLabel.toStdString());
    EXPECT_EQ(program.stop(), 0);
}

// Every control in sight named, or the tree dumped.
void expectEveryControlNamed(const std::vector<Seen>& tree) {
    for (const Seen& seen : tree)
        if (seen.focusableInSight) {
            EXPECT_FALSE(seen.name.isEmpty() && seen.labelledBy.isEmpty()) << seen.role.toStdString() << "\n"
                                                                           << dump(tree);
        }
}

// The icon pickers as a screen reader reads them: the emoji field and its
// open popup (search, groups, grid), then the symbol picker's search, each
// opened by a click where the reader says its button lies.
TEST_F(EndToEnd, AScreenReaderHearsTheIconPickersAndTheOpenEmojiPopup) {
    Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    for (Wheel& wheel : config.wheels)
        for (Slice& slice : wheel.slices)
            if (wheel.id == "default" && slice.position == 0) slice.icon = Icon{Icon::Emoji{"\U0001F680"}};
    writeFile(home.configFolder() / "config.json", writeConfigFile(config));
    AccessibilityBus bus(home.path / "bus");
    ASSERT_TRUE(bus.ready)
        << "the accessibility bus did not start (scripts/setup installs at-spi2-core and dbus-daemon)";
    QProcessEnvironment environment = bus.environment();
    environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    Program program(home.path, "screen-reader-pickers", {}, environment);
    ASSERT_FALSE(readyMainWindow(program).empty()) << program.log();

    AccessibilityTree reader(bus);
    std::vector<Seen> tree;
    const auto seen = [&](const QString& role, const QString& name) {
        return waitFor([&] { return has(tree = reader.read(), role, name); }, patience);
    };
    const auto click = [&](const QString& role, const QString& name) {
        const auto found =
            std::ranges::find_if(tree, [&](const Seen& s) { return s.role == role && s.name == name; });
        ASSERT_NE(found, tree.end()) << dump(tree);
        const QRect box = reader.extents(found->node);
        xdotool("mousemove " + pointText(box.center()) + " click 1");
    };

    ASSERT_TRUE(seen("push button", "Choose Emoji…")) << dump(tree);
    EXPECT_TRUE(has(tree, "text", "Emoji")) << dump(tree);
    expectEveryControlNamed(tree);
    click("push button", "Choose Emoji…");
    ASSERT_TRUE(seen("text", "Search emoji")) << dump(tree);
    grabScreen().save(artifact("screen-reader-emoji-popup.png"));
    EXPECT_TRUE(has(tree, "page tab", "Smileys & Emotion")) << dump(tree);
    EXPECT_TRUE(has(tree, "list", "Emoji")) << dump(tree);
    expectEveryControlNamed(tree);
    xdotool("key Escape");

    // The icon's kind from Emoji up to Symbol, then the symbol picker.
    ASSERT_TRUE(seen("combo box", "Emoji")) << dump(tree);
    const std::set<std::string> windows = windowsOf(program);
    click("combo box", "Emoji");
    ASSERT_FALSE(newWindowOf(program, windows).empty()) << "the icon's kinds did not open";
    xdotool("key Up Return");
    ASSERT_TRUE(seen("push button", "Choose Symbol…")) << dump(tree);
    click("push button", "Choose Symbol…");
    ASSERT_TRUE(seen("text", "Search symbols")) << dump(tree);
    expectEveryControlNamed(tree);
    xdotool("key Escape");
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix
