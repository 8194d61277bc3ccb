#include "app/MenuBarContent.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

std::vector<std::string> titles(const std::vector<MenuRow>& rows) {
    std::vector<std::string> out;
    for (const auto& row : rows)
        out.push_back(row.kind == MenuRow::Kind::separator ? "—" : row.title);
    return out;
}

MenuState allClear() {
    MenuState state;
    state.accessibilityTrusted = true;
    state.inputMonitoringTrusted = true;
    state.canStandardCheck = true;
    return state;
}

TEST(MenuBarContent, CalmStateReadsPauseThenPagesThenGuidesThenQuit) {
    const auto rows = MenuBarContent::rows(allClear());
    EXPECT_EQ(titles(rows),
              (std::vector<std::string>{"Pause Rondelix", "—", "My Wheels…", "Wheel Gallery…", "Settings…",
                                        "—", "Setup Guide…", "Set Up System Actions…", "About Rondelix",
                                        "Check for Updates…", "—", "Quit"}));
    EXPECT_EQ(rows[4].commandKey, ',');
    EXPECT_EQ(rows.back().commandKey, 'q');
    EXPECT_EQ(rows.back().command, MenuCommand::quit);
    for (const auto& row : rows)
        EXPECT_TRUE(row.enabled) << row.title;

    // Updates from the system's package manager: no check offered at all.
    MenuState fromSystem = allClear();
    fromSystem.updatesFromSystem = true;
    const auto withoutCheck = titles(MenuBarContent::rows(fromSystem));
    EXPECT_EQ(std::count(withoutCheck.begin(), withoutCheck.end(), "Check for Updates…"), 0);
    EXPECT_EQ(withoutCheck.size(), rows.size() - 1);

    MenuState oneMissing = allClear();
    oneMissing.inputMonitoringTrusted = false;
    EXPECT_EQ(titles(MenuBarContent::rows(oneMissing))[0], "⚠︎ Grant Permissions…");
}

TEST(MenuBarContent, EveryConditionTrueStacksTheWarningsBeforeTheResumeRow) {
    MenuState state;
    state.scheduledUpdatePending = "2.3";
    state.secureInputBlocking = true;
    state.paused = true;
    state.requiredShortcutsMissing = true;
    const auto rows = MenuBarContent::rows(state);
    EXPECT_EQ(titles(rows),
              (std::vector<std::string>{"⚠︎ Grant Permissions…", "—", "Update available: 2.3…", "—",
                                        "⚠︎ Summon key blocked: another program holds the keyboard", "—",
                                        "Paused. The wheel won't open. Resumes when you relaunch.",
                                        "Resume Rondelix", "—", "My Wheels…", "Wheel Gallery…", "Settings…",
                                        "—", "Setup Guide…", "⚠︎ Set Up System Actions…",
                                        "About Rondelix", "Check for Updates…", "—", "Quit"}));
    EXPECT_EQ(rows[4].kind, MenuRow::Kind::text);
    EXPECT_EQ(rows[6].kind, MenuRow::Kind::text);
    // Only the update check is ever disabled.
    for (const auto& row : rows) {
        if (row.kind == MenuRow::Kind::item) {
            EXPECT_EQ(row.enabled, row.command != MenuCommand::checkForUpdates);
        }
    }
}

} // namespace
} // namespace rondelix
