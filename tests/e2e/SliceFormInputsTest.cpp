// The slice form and its action inputs on the running program, by keyboard
// alone: what is typed is saved as it is typed and fires from the wheel.

#include "EndToEndRig.h"

namespace rondelix {
namespace {

using namespace e2e;

// The action the main wheel's top slice has in the file now.
std::optional<MacroAction> topAction(const TestHome& home) {
    const auto top = home.topSlice();
    return top ? std::optional(top->action) : std::nullopt;
}

// With an automation in the folder the automation input is a menu of the
// installed ones; the one chosen from it runs from the summon. The link
// field and the keystroke toggles write what they show.
TEST_F(EndToEnd, TheActionInputsWriteWhatTheyShowAndAChosenAutomationFires) {
    // An accent other than the desktop's blue, which the checked toggles show.
    Config config = home.setTopSlotAction(MacroAction::Text{"not yet"});
    config.behavior.accentHex = "#AF52DE";
    writeFile(home.configFolder() / "config.json", writeConfigFile(config));
    // Where the automations were kept before: the program moves them over.
    const fs::path automation = home.configFolder() / "shortcuts" / "Mark It";
    writeFile(automation, "#!/bin/sh\ntouch '" + home.marker.string() + "'\n");
    fs::permissions(automation, fs::perms::owner_all);

    Program program(home.path, "slice-form-inputs");
    openTopSliceInTheEditor(program);
    if (HasFatalFailure()) return;
    // From the wheel's name to the action menu, as the script test walks it.
    xdotool("key Tab Tab Tab Tab Tab Tab Tab Tab");

    xdotool("type --delay 30 URL");
    pause(0.3);
    xdotool("key Tab ctrl+a");
    xdotool("type --delay 10 example.org");
    EXPECT_TRUE(waitFor([&] { return topAction(home) == MacroAction(MacroAction::Url{"example.org"}); }, 5))
        << program.log();

    xdotool("key shift+Tab");
    xdotool("type --delay 30 Ke");
    pause(0.3);
    // The record button, then the Ctrl toggle, which the factory combination has on.
    xdotool("key Tab Tab space");
    EXPECT_TRUE(waitFor(
        [&] { return topAction(home) == MacroAction(MacroAction::Keystroke{KeyCombo{.keyCode = 8}}); }, 5))
        << program.log();
    pause(0.3);
    grabScreen().save(artifact("slice-form-inputs-e2e-keystroke.png"));

    xdotool("key shift+Tab shift+Tab");
    xdotool("type --delay 30 Au");
    pause(0.3);
    xdotool("key Tab");
    xdotool("type --delay 30 Mark");
    EXPECT_TRUE(waitFor([&] { return topAction(home) == MacroAction(MacroAction::Shortcut{"Mark It"}); }, 5))
        << program.log();
    pause(0.3);
    grabScreen().save(artifact("slice-form-inputs-e2e-automation.png"));

    ASSERT_TRUE(fireTopSlot(program, "slice-form-inputs-e2e-summoned.png"));
    EXPECT_TRUE(waitFor([&] { return fs::exists(home.marker); }, 5)) << program.log();
}

// The slice form turns the top slot into a script by keyboard alone; the
// summon then fires what was typed.
TEST_F(EndToEnd, TheSliceFormMakesAScriptThatTheSummonFires) {
    home.setTopSlotAction(MacroAction::Text{"not yet"});

    Program program(home.path, "slice-form");
    openTopSliceInTheEditor(program);
    if (HasFatalFailure()) return;
    // From the wheel's name: its slot count, application menu, the two wheel
    // buttons and the slice menu, then the form's label, icon and action.
    xdotool("key Tab Tab Tab Tab Tab Tab Tab Tab");
    xdotool("type --delay 30 Sc");
    pause(0.3);
    xdotool("key Tab");
    xdotool("type --delay 10 \"touch '" + home.marker.string() + "'\"");
    const MacroAction typed = MacroAction::Script{"touch '" + home.marker.string() + "'"};
    // Every keystroke is saved; the last one lands a moment after xdotool ends.
    EXPECT_TRUE(waitFor(
        [&] {
            const auto top = home.topSlice();
            return top && top->action == typed;
        },
        5))
        << program.log();
    grabScreen().save(artifact("slice-form-e2e-script.png"));

    // Back to the icon menu: a symbol from the picker sheet.
    xdotool("key shift+Tab shift+Tab");
    xdotool("type --delay 30 Sy");
    pause(0.3);
    xdotool("key Tab space");
    std::string sheet;
    ASSERT_TRUE(waitFor(
        [&] { return !(sheet = output("xdotool search --onlyvisible --name '^Symbols$'")).empty(); }, 3));
    sheet = sheet.substr(0, sheet.find('\n'));
    xdotool("type --delay 20 bolt.fill");
    pause(0.4);
    grabScreen().save(artifact("slice-form-e2e-symbol-picker.png"));
    const QRect picker = windowFrame(sheet);
    EXPECT_EQ(picker.size(), QSize(540, 480));
    // The one cell left sits first in the grid, under the search row.
    xdotool("mousemove " + std::to_string(picker.x() + 27) + " " + std::to_string(picker.y() + 70) +
            " click 1");
    EXPECT_TRUE(waitFor(
        [&] {
            const auto top = home.topSlice();
            return top && top->icon == Icon(Icon::SfSymbol{"bolt.fill"});
        },
        3))
        << program.log();
    EXPECT_TRUE(waitFor([] { return output("xdotool search --onlyvisible --name '^Symbols$'").empty(); }, 3));

    // An emoji through the program's own popup.
    xdotool("key shift+Tab");
    xdotool("type --delay 30 E");
    pause(0.3);
    xdotool("key Tab Tab space");
    pause(0.6);
    xdotool("type --delay 20 rocket");
    pause(0.4);
    grabScreen().save(artifact("slice-form-e2e-emoji-popup.png"));
    xdotool("key Escape");
    EXPECT_TRUE(waitFor(
        [&] {
            const auto top = home.topSlice();
            return top && top->icon == Icon(Icon::Emoji{"\u2728"});
        },
        3))
        << program.log();

    ASSERT_TRUE(fireTopSlot(program, "slice-form-e2e-summoned.png"));
    EXPECT_TRUE(waitFor([&] { return fs::exists(home.marker); }, 5)) << program.log();
}

TEST_F(EndToEnd, ASliceOfANewerVersionIsToldNeverFiredAndKeptThroughAnEdit) {
    const auto newer = decodeDocument(
        nlohmann::json{{"runLater", {{"_0", "touch '" + home.marker.string() + "'"}}}}.dump(), decodeAction);
    ASSERT_TRUE(newer && newer->is<MacroAction::Unknown>());
    home.setTopSlotAction(*newer);

    Program program(home.path, "newer-slice");
    openTopSliceInTheEditor(program);
    if (HasFatalFailure()) return;
    pause(0.4);
    grabScreen().save(artifact("newer-slice-e2e-form.png"));

    // An edit of the same slice in the form keeps the action as the file had it.
    xdotool("key Tab Tab Tab Tab Tab Tab");
    xdotool("type --delay 30 Later");
    EXPECT_TRUE(waitFor(
        [&] {
            const auto top = home.topSlice();
            return top && top->label == "LaterMark";
        },
        5))
        << program.log();
    EXPECT_EQ(home.topSlice()->action, *newer);

    ASSERT_TRUE(fireTopSlot(program, "newer-slice-e2e-summoned.png"));
    pause(0.3);
    grabScreen().save(artifact("newer-slice-e2e-told.png"));
    pause(1.0);
    EXPECT_FALSE(fs::exists(home.marker));
    EXPECT_EQ(home.topSlice()->action, *newer);
}

// Lets this process answer the X server while the program takes a paste
// from the clipboard this process holds.
void serveClipboard(double seconds) {
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    while (Clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

TEST_F(EndToEnd, AMegabyteLabelPastedOnOneLineKeepsTypingAndSurvivesAQuit) {
    Program program(home.path, "megabyte-label");
    openTopSliceInTheEditor(program);
    if (HasFatalFailure()) return;
    // From the wheel's name to the top slice's label field.
    xdotool("key Tab Tab Tab Tab Tab Tab");

    std::string label;
    while (label.size() < 1024 * 1024)
        label += "the quick brown fox jumps over the lazy dog ";
    QGuiApplication::clipboard()->setText(QString::fromStdString(label));
    xdotool("key ctrl+a ctrl+v");
    // Saved once the paste has come in and typing has paused.
    bool saved = false;
    for (int i = 0; i < 50 && !saved; ++i) {
        serveClipboard(0.2);
        const auto top = home.topSlice();
        saved = top && top->label == label;
    }
    ASSERT_TRUE(saved) << program.log();
    grabScreen().save(artifact("slice-form-e2e-megabyte-label.png"));

    // Keys after the paste go in at the caret, and a quit right after them
    // writes what is still held back.
    xdotool("type --delay 40 ok");
    pause(0.1);
    EXPECT_EQ(program.stop(), 0);
    EXPECT_EQ(home.topSlice()->label, label + "ok");
}

} // namespace
} // namespace rondelix
