#include "app/MenuBarContent.h"

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
    return state;
}

TEST(MenuBarContent, CalmStateReadsPauseThenPagesThenGuidesThenQuit) {
    const auto rows = MenuBarContent::rows(allClear());
    EXPECT_EQ(titles(rows), (std::vector<std::string>{
                                "Pause Rondelix", "—", "My Wheels…", "Wheel Gallery…", "Settings…", "—",
                                "Setup Guide…", "Set Up System Actions…", "About Rondelix", "—", "Quit"}));
    EXPECT_EQ(rows[4].commandKey, ',');
    EXPECT_EQ(rows.back().commandKey, 'q');
    EXPECT_EQ(rows.back().command, MenuCommand::quit);
    for (const auto& row : rows)
        EXPECT_TRUE(row.enabled) << row.title;

    MenuState oneMissing = allClear();
    oneMissing.inputMonitoringTrusted = false;
    EXPECT_EQ(titles(MenuBarContent::rows(oneMissing))[0], "⚠︎ Grant Permissions…");
}

TEST(MenuBarContent, EveryConditionTrueStacksTheWarningsBeforeTheResumeRow) {
    MenuState state;
    state.secureInputBlocking = true;
    state.paused = true;
    state.requiredShortcutsMissing = true;
    const auto rows = MenuBarContent::rows(state);
    EXPECT_EQ(titles(rows), (std::vector<std::string>{
                                "⚠︎ Grant Permissions…", "—",
                                "⚠︎ Summon key blocked: another program holds the keyboard", "—",
                                "Paused. The wheel won't open. Resumes when you relaunch.", "Resume Rondelix",
                                "—", "My Wheels…", "Wheel Gallery…", "Settings…", "—", "Setup Guide…",
                                "⚠︎ Set Up System Actions…", "About Rondelix", "—", "Quit"}));
    EXPECT_EQ(rows[2].kind, MenuRow::Kind::text);
    EXPECT_EQ(rows[4].kind, MenuRow::Kind::text);
    for (const auto& row : rows) {
        if (row.kind == MenuRow::Kind::item) {
            EXPECT_TRUE(row.enabled) << row.title;
        }
    }
}

} // namespace
} // namespace rondelix
