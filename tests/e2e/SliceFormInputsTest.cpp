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

    // A kind typed into the action menu is chosen, and saved, before the
    // input it brings takes the keys.
    const auto choose = [&](const std::string& typed, const std::function<bool(const MacroAction&)>& kind) {
        xdotool("type --delay 30 " + typed);
        EXPECT_TRUE(waitFor([&] { return topAction(home) && kind(*topAction(home)); }, patience))
            << typed << "\n"
            << program.log();
        stillScreen();
    };
    choose("URL", [](const MacroAction& a) { return a.is<MacroAction::Url>(); });
    xdotool("key Tab ctrl+a");
    xdotool("type --delay 10 example.org");
    EXPECT_TRUE(
        waitFor([&] { return topAction(home) == MacroAction(MacroAction::Url{"example.org"}); }, patience))
        << program.log();

    xdotool("key shift+Tab");
    choose("Ke", [](const MacroAction& a) { return a.is<MacroAction::Keystroke>(); });
    // The record button, then the Ctrl toggle, which the factory combination has on.
    xdotool("key Tab Tab space");
    EXPECT_TRUE(waitFor(
        [&] { return topAction(home) == MacroAction(MacroAction::Keystroke{KeyCombo{.keyCode = 8}}); },
        patience))
        << program.log();
    stillScreen().save(artifact("slice-form-inputs-e2e-keystroke.png"));

    xdotool("key shift+Tab shift+Tab");
    choose("Au", [](const MacroAction& a) { return a.is<MacroAction::Shortcut>(); });
    xdotool("key Tab");
    xdotool("type --delay 30 Mark");
    EXPECT_TRUE(
        waitFor([&] { return topAction(home) == MacroAction(MacroAction::Shortcut{"Mark It"}); }, patience))
        << program.log();
    stillScreen().save(artifact("slice-form-inputs-e2e-automation.png"));

    ASSERT_TRUE(fireTopSlot(program, "slice-form-inputs-e2e-summoned.png"));
    EXPECT_TRUE(waitFor([&] { return fs::exists(home.marker); }, patience)) << program.log();
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
    // The script kind is chosen, and its field shown, before Tab reaches it.
    EXPECT_TRUE(
        waitFor([&] { return topAction(home) && topAction(home)->is<MacroAction::Script>(); }, patience))
        << program.log();
    stillScreen();
    xdotool("key Tab");
    xdotool("type --delay 10 \"touch '" + home.marker.string() + "'\"");
    const MacroAction typed = MacroAction::Script{"touch '" + home.marker.string() + "'"};
    // Every keystroke is saved; the last one lands a moment after xdotool ends.
    EXPECT_TRUE(waitFor(
        [&] {
            const auto top = home.topSlice();
            return top && top->action == typed;
        },
        patience))
        << program.log();
    grabScreen().save(artifact("slice-form-e2e-script.png"));

    // Back to the icon menu: a symbol from the picker sheet.
    const auto iconIs = [&](const std::function<bool(const Icon&)>& check) {
        return waitFor(
            [&] {
                const auto top = home.topSlice();
                return top && check(top->icon);
            },
            patience);
    };
    xdotool("key shift+Tab shift+Tab");
    xdotool("type --delay 30 Sy");
    EXPECT_TRUE(iconIs([](const Icon& icon) { return icon.is<Icon::SfSymbol>(); })) << program.log();
    stillScreen();
    xdotool("key Tab space");
    const std::string sheet = windowNamed("Symbols");
    ASSERT_FALSE(sheet.empty()) << "no symbol picker";
    const QRect picker = windowFrame(sheet);
    const QImage unsearched = stillScreen(picker);
    xdotool("type --delay 20 bolt.fill");
    EXPECT_TRUE(screenChanges(unsearched, picker)) << "the search showed nothing";
    stillScreen(picker).save(artifact("slice-form-e2e-symbol-picker.png"));
    EXPECT_EQ(picker.size(), QSize(540, 480));
    // The one cell left sits first in the grid, under the search row.
    clickAt(picker.topLeft() + QPoint(27, 70));
    EXPECT_TRUE(waitFor(
        [&] {
            const auto top = home.topSlice();
            return top && top->icon == Icon(Icon::SfSymbol{"bolt.fill"});
        },
        patience))
        << program.log();
    EXPECT_TRUE(
        waitFor([] { return output("xdotool search --onlyvisible --name '^Symbols$'").empty(); }, patience));

    // An emoji through the program's own popup.
    xdotool("key shift+Tab");
    xdotool("type --delay 30 E");
    EXPECT_TRUE(iconIs([](const Icon& icon) { return icon.is<Icon::Emoji>(); })) << program.log();
    stillScreen();
    const std::set<std::string> windows = windowsOf(program);
    xdotool("key Tab Tab space");
    const std::string popup = newWindowOf(program, windows);
    ASSERT_FALSE(popup.empty()) << "no emoji popup";
    const QImage noEmojiSearched = grabScreen();
    xdotool("type --delay 20 rocket");
    EXPECT_TRUE(screenChanges(noEmojiSearched, windowFrame(popup))) << "the search showed nothing";
    stillScreen(windowFrame(popup)).save(artifact("slice-form-e2e-emoji-popup.png"));
    xdotool("key Escape");
    EXPECT_TRUE(waitFor(
        [&] {
            const auto top = home.topSlice();
            return top && top->icon == Icon(Icon::Emoji{"\u2728"});
        },
        patience))
        << program.log();

    ASSERT_TRUE(fireTopSlot(program, "slice-form-e2e-summoned.png"));
    EXPECT_TRUE(waitFor([&] { return fs::exists(home.marker); }, patience)) << program.log();
}

TEST_F(EndToEnd, ASliceOfANewerVersionIsToldNeverFiredAndKeptThroughAnEdit) {
    const auto newer = decodeDocument(
        nlohmann::json{{"runLater", {{"_0", "touch '" + home.marker.string() + "'"}}}}.dump(), decodeAction);
    ASSERT_TRUE(newer && newer->is<MacroAction::Unknown>());
    home.setTopSlotAction(*newer);

    Program program(home.path, "newer-slice");
    openTopSliceInTheEditor(program);
    if (HasFatalFailure()) return;
    stillScreen().save(artifact("newer-slice-e2e-form.png"));

    // An edit of the same slice in the form keeps the action as the file had it.
    // The label is selected whole when Tab reaches it; Home puts the caret before it.
    xdotool("key Tab Tab Tab Tab Tab Tab Home");
    xdotool("type --delay 30 Later");
    EXPECT_TRUE(waitFor(
        [&] {
            const auto top = home.topSlice();
            return top && top->label == "LaterMark";
        },
        patience))
        << program.log();
    EXPECT_EQ(home.topSlice()->action, *newer);

    ASSERT_TRUE(fireTopSlot(program, "newer-slice-e2e-summoned.png"));
    // Told over the middle of the screen, where the wheel was, once it went.
    EXPECT_TRUE(wheelGone());
    stillScreen(QRect(400, 300, 800, 440)).save(artifact("newer-slice-e2e-told.png"));
    // That it never fires can only be seen for a while: a script fired at
    // the release would have run long before. A busy machine can only make
    // this pass wrongly, never fail.
    EXPECT_FALSE(waitFor([&] { return fs::exists(home.marker); }, 1.0));
    EXPECT_EQ(home.topSlice()->action, *newer);
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
    // Saved once the paste has come in and typing has paused; this process
    // answers the X server meanwhile, as the program takes the paste from
    // the clipboard it holds.
    ASSERT_TRUE(waitServing(
        [&] {
            const auto top = home.topSlice();
            return top && top->label == label;
        },
        patience))
        << program.log();
    const QImage pasted = stillScreen();
    pasted.save(artifact("slice-form-e2e-megabyte-label.png"));

    // Keys after the paste go in at the caret, and a quit right after the
    // field shows them writes what is still held back.
    xdotool("type --delay 40 ok");
    EXPECT_TRUE(screenChanges(pasted, pasted.rect())) << "the field did not take the keys";
    EXPECT_EQ(program.stop(), 0);
    EXPECT_EQ(home.topSlice()->label, label + "ok");
}

} // namespace
} // namespace rondelix
