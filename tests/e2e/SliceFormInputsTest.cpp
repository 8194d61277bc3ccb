// The slice form's action inputs on the running program, by keyboard alone.

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
    home.setTopSlotAction(MacroAction::Text{"not yet"});
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

} // namespace
} // namespace rondelix
