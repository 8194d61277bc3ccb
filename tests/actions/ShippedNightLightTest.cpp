#include "actions/InstalledAutomations.h"
#include "actions/MacroExecutor.h"
#include "editor/SliceFormInputs.h"
#include "platform/sim/SimBackground.h"
#include "platform/sim/SimEventTaps.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimPasteboard.h"
#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimSounds.h"
#include "platform/sim/SimWorkspace.h"
#include "support/TempHome.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const std::string shippedScript = "#!/bin/sh\n# switches GNOME's, Cinnamon's or KWin's night light\nexit 1\n";

// The night light's slice and System picker on one desktop, with the given
// automation installed beside the one the program ships.
struct NightLightOn {
    NightLightOn(const std::string& desktop, const std::string& installed) : desktop(desktop) {
        for (const auto& [folder, text] :
             {std::pair{shipped, shippedScript}, std::pair{automationsFolder, installed}}) {
            fs::create_directories(folder);
            std::ofstream(folder / "Toggle Night Light") << text;
            fs::permissions(folder / "Toggle Night Light", fs::perms::owner_all);
        }
        executor.onActionFailed = [this](const std::string& sentence) { reported.push_back(sentence); };
        executor.onShortcutFailed = [this](const std::string& name) { offeredForSetUp.push_back(name); };
        automations.refresh();
        background.runAll();
        queue.runPending();
    }

    std::optional<std::string> pickerSays() const {
        for (const SliceFormInputs::MenuSection& section : SliceFormInputs::systemActionMenu(
                 "", desktop, [this](std::string_view name) { return automations.installedAsShipped(name); }))
            for (const SliceFormInputs::MenuRow& row : section.rows)
                if (row.value == "night-shift") return row.unavailable;
        return "not listed";
    }
    void fire() {
        executor.fire(MacroAction::SystemAction{"night-shift"});
        queue.runPending();
    }

    std::string desktop;
    testing::TempHome home;
    fs::path shipped = home.path / "shipped";
    fs::path automationsFolder = home.path / "automations";
    platform::sim::SimMainQueue queue;
    platform::sim::SimBackground background;
    platform::sim::SimPasteboard pasteboard;
    platform::sim::SimWorkspace workspace{queue};
    platform::sim::SimProcesses processes{queue};
    platform::sim::SimEventTaps taps{queue};
    platform::sim::SimSounds sounds;
    platform::sim::SimLog log;
    MacroExecutor executor{
        {queue, pasteboard, workspace, processes, taps, sounds, log},
        {"/bin/sh", automationsFolder.string(), home.path.string(), desktop, shipped.string()}};
    InstalledAutomations automations{automationsFolder, {background, queue, workspace}, shipped};
    Lines reported;
    Lines offeredForSetUp;
};

// The program's own night light automation switches GNOME's, Cinnamon's or
// KWin's; on Xfce and MATE it could only fail. There, while it is what is
// installed, the picker greys the action and a slice that holds it says it
// is not available, without running it or offering to set it up.
TEST(ShippedNightLight, OfferedWhereTheDesktopHasOneAndGreyedWithTheFiredSentenceWhereNot) {
    for (const auto& [desktop, offered] :
         {std::pair{"KDE", true}, std::pair{"GNOME", true}, std::pair{"X-Cinnamon", true},
          std::pair{"XFCE", false}, std::pair{"MATE", false}}) {
        SCOPED_TRACE(desktop);
        NightLightOn here(desktop, shippedScript);
        EXPECT_EQ(here.pickerSays(),
                  offered ? std::nullopt : std::optional<std::string>("This desktop has no night light."));
        here.fire();
        ASSERT_EQ(here.processes.children().size(), offered ? 1u : 0u);
        if (offered) {
            EXPECT_EQ(here.processes.child(0).request.program,
                      (here.automationsFolder / "Toggle Night Light").string());
            here.processes.finish(0, 0);
            here.queue.runPending();
        }
        EXPECT_EQ(here.reported, offered ? Lines{} : Lines{"That action isn't available."});
        EXPECT_TRUE(here.offeredForSetUp.empty());
    }
}

// An automation the user changed may know a way: the picker offers it again
// as soon as the folder is read, the slice runs it, and when it fails the
// sentence ends with the first line of what it said.
TEST(ShippedNightLight, AChangedAutomationRunsAndItsFailureSaysWhyInItsOwnWords) {
    NightLightOn here("XFCE", shippedScript);
    int changes = 0;
    here.automations.changed.connect([&] { ++changes; });
    std::ofstream(here.automationsFolder / "Toggle Night Light", std::ios::app) << "xfconf-query -c night\n";
    here.automations.refresh();
    here.background.runAll();
    here.queue.runPending();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(here.pickerSays(), std::nullopt);
    here.fire();
    ASSERT_EQ(here.processes.children().size(), 1u);
    here.processes.finish(0, 1, "xfconf-query: no such channel\n  at line 3\n");
    here.queue.runPending();
    EXPECT_EQ(here.reported, Lines{"Your automation exited with an error. xfconf-query: no such channel"});

    // A long line is cut where the bubble still fits on the screen.
    here.fire();
    here.processes.finish(1, 1, std::string(500, 'x'));
    here.queue.runPending();
    EXPECT_EQ(here.reported.back(),
              "Your automation exited with an error. " + std::string(100, 'x') + "\u2026");
}

} // namespace
} // namespace rondelix
