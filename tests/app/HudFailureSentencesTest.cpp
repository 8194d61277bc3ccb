#include "overlay/HUD.h"
#include "support/CoordinatorRig.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testsupport::CoordinatorRig;
using Kind = AppWindows::Kind;

// How a child the slice started ends; a refused name starts none.
enum class Ending { exitsWithError, neverLaunches, startsNothing };

struct Failure {
    std::string what;
    MacroAction action;
    std::vector<std::string> installed; // automations in the folder beforehand
    Ending ending;
    std::string sentence;
    std::string logEnding;
    bool opensSetUp = false;
    // How a child that exits with an error ends.
    int status = 3;
    std::string said = "it broke";
};

// Every failure of a slice fired from the wheel shows its sentence in the HUD
// (a failed automation's followed by the first line it wrote to its error
// output) and leaves a log line naming each command, with no beep in its place.
TEST(HudFailureSentences, EachFailedSliceIsToldWhereTheWheelWas) {
    const std::string automations = "/.config/rondelix/automations/";
    const std::vector<Failure> failures = {
        {"a script that exits with an error",
         MacroAction::Script{"exit 3"},
         {},
         Ending::exitsWithError,
         "Your script exited with an error.",
         "exited 3; stderr\u00BB it broke"},
        {"an automation that exits with an error",
         MacroAction::Shortcut{"Morning Routine"},
         {"Morning Routine"},
         Ending::exitsWithError,
         "Your automation exited with an error. it broke",
         automations + "Morning Routine exited 3; stderr\u00BB it broke"},
        {"an automation whose file is gone",
         MacroAction::Shortcut{"Morning Routine"},
         {},
         Ending::neverLaunches,
         "That automation isn't installed.",
         automations + "Morning Routine failed to launch: No such file or directory"},
        {"an automation name that is a path",
         MacroAction::Shortcut{"../../bin/true"},
         {},
         Ending::startsNothing,
         "That automation isn't installed.",
         "refused: \u201C../../bin/true\u201D is not a file name"},
        {"the shipped Do Not Disturb automation failing",
         MacroAction::SystemAction{"toggle-dnd"},
         {"Toggle Do Not Disturb"},
         Ending::exitsWithError,
         "Your automation exited with an error. it broke",
         automations + "Toggle Do Not Disturb exited 3; stderr\u00BB it broke"},
        {"the Night Light automation not set up",
         MacroAction::SystemAction{"night-shift"},
         {},
         Ending::neverLaunches,
         "That automation isn't installed.",
         automations + "Toggle Night Shift failed to launch: No such file or directory",
         true},
        {"a Night Light automation of the user's own on a desktop that has none",
         MacroAction::SystemAction{"night-shift"},
         {"Toggle Night Light"},
         Ending::exitsWithError,
         "Your automation exited with an error. no night light setting found for this desktop (XFCE)",
         automations +
             "Toggle Night Light exited 1; stderr\u00BB no night light setting found for this desktop (XFCE)",
         false,
         1,
         "no night light setting found for this desktop (XFCE)"},
        {"the Bluetooth automation without bluetoothctl",
         MacroAction::SystemAction{"toggle-bluetooth"},
         {"Toggle Bluetooth"},
         Ending::exitsWithError,
         "Your automation exited with an error. neither bluetoothctl nor rfkill is installed",
         automations +
             "Toggle Bluetooth exited 127; stderr\u00BB neither bluetoothctl nor rfkill is installed",
         false,
         127,
         "neither bluetoothctl nor rfkill is installed"},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.what);
        CoordinatorRig rig;
        rig.open();
        const auto folder = rig.c().configStore().paths().automations;
        std::filesystem::create_directories(folder);
        for (const auto& name : failure.installed) {
            std::ofstream(folder / name) << "#!/bin/sh\n";
            std::filesystem::permissions(folder / name, std::filesystem::perms::owner_all);
        }
        rig.background.runAll();
        rig.queue.runPending();
        rig.log.clear();

        rig.c().macroExecutor().fire(failure.action);
        if (failure.ending == Ending::exitsWithError) rig.processes.finish(0, failure.status, failure.said);
        // An automation renamed since is looked for under its former name too.
        for (std::size_t i = 0;
             failure.ending == Ending::neverLaunches && i < rig.processes.children().size(); ++i) {
            rig.processes.failLaunch(i);
            rig.queue.runPending();
        }
        EXPECT_EQ(rig.processes.children().empty(), failure.ending == Ending::startsNothing);
        rig.queue.runPending();
        rig.background.runAll();
        rig.queue.runPending();

        EXPECT_EQ(rig.hud->text, failure.sentence);
        EXPECT_EQ(rig.hud->systemImage, "exclamationmark.triangle.fill");
        ASSERT_EQ(rig.log.lines().size(), std::max<std::size_t>(1, rig.processes.children().size()));
        EXPECT_TRUE(rig.log.lines().back().starts_with("Rondelix: macro command "));
        EXPECT_TRUE(rig.log.lines().back().ends_with(failure.logEnding)) << rig.log.lines().back();
        EXPECT_EQ(rig.sounds.beeps, 0);
        // The setup window waits for the bubble to go, which would lie over its card.
        EXPECT_FALSE(rig.windows.state(Kind::shortcutSetup).exists);
        rig.queue.advance(HUD::showSeconds + HUD::fadeOutSeconds);
        EXPECT_EQ(rig.windows.state(Kind::shortcutSetup).exists, failure.opensSetUp);
    }
}

} // namespace
} // namespace rondelix
