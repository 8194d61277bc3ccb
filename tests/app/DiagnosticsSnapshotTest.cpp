#include "app/DiagnosticsSnapshot.h"

#include "support/CoordinatorRig.h"
#include "support/TextLines.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testsupport::CoordinatorRig;

using testsupport::linesOf;

const DesktopFacts desktop{"0.1.0", "Debian GNU/Linux 12 (bookworm)", false, true};

TEST(DiagnosticsSnapshot, ReadsTheRunningProgram) {
    CoordinatorRig rig;
    rig.screens.mainIndex = 0;
    rig.open();
    rig.queue.runPending();
    const DiagnosticsInputs in = gatherDiagnostics(rig.c(), desktop, 0);
    EXPECT_EQ(in.configPath, "~/.config/rondelix/config.json");
    ASSERT_EQ(in.screens.size(), 1u);
    EXPECT_TRUE(in.screens[0].isMain);
    EXPECT_EQ(in.screens[0].visibleHeight, 1050);
    EXPECT_TRUE(in.inputMonitoringLatched && in.accessibilityLatched);
    EXPECT_EQ(in.listenAccess, DiagnosticsInputs::ListenAccess::granted);
    EXPECT_EQ(in.listenTap, DiagnosticsInputs::TapState::enabled);
    EXPECT_TRUE(in.onboardingCompleted);
    EXPECT_EQ(in.wheelFill.size(), rig.c().configStore().config().wheels.size());
    EXPECT_TRUE(in.lastUsedResolves);
    EXPECT_TRUE(in.shortcutFailedHandler && in.openSettingsHandler);
    EXPECT_EQ(in.bindings.size(), rig.c().configStore().config().bindings.size());
    EXPECT_EQ(in.mainWindow, DiagnosticsInputs::MainWindowState::absent);

    rig.c().showMain(MainTab::about);
    EXPECT_EQ(gatherDiagnostics(rig.c(), desktop, 0).mainWindow, DiagnosticsInputs::MainWindowState::key);
    EXPECT_EQ(linesOf(diagnosticsSnapshot(rig.c(), desktop, 0)).size(), 52u);
}

TEST(DiagnosticsSnapshot, AnUnreadableConfigurationAndNoScreenStillMakeAWholeReport) {
    CoordinatorRig rig;
    rig.screens.layout.clear();
    testing::writeText(rig.home.path / ".config/rondelix/config.json", "{ not json");
    rig.open();
    rig.queue.runPending();
    const auto lines = linesOf(diagnosticsSnapshot(rig.c(), desktop, 0));
    ASSERT_EQ(lines.size(), 52u);
    EXPECT_EQ(lines[8], "  Screens: ");
    EXPECT_NE(lines[9].find("onScreen=NONE(gap)"), std::string::npos);
    EXPECT_NE(lines[34].find("loadedCleanly=false"), std::string::npos) << lines[34];
    EXPECT_NE(lines[33].find("corruptAside=1"), std::string::npos) << lines[33];
}

} // namespace
} // namespace rondelix
