#include "editor/SliceFormInputs.h"

#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimWorkspace.h"
#include "support/SymbolNamesInUse.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <map>

using namespace rondelix;
using namespace rondelix::SliceFormInputs;

namespace {

TEST(SliceFormInputs, ChooserRowsNameWhatIsChosen) {
    EXPECT_EQ(symbolRowLabel({"bolt"}), "bolt");
    EXPECT_EQ(symbolRowLabel({""}), "No symbol chosen");
    EXPECT_EQ(imageRowLabel({"A.png"}), "Custom image");
    EXPECT_EQ(imageRowLabel({""}), "No image chosen");
}

// A symbol named for another system's programs or keys is named for what it
// draws, wherever the program uses it.
TEST(SliceFormInputs, TheSymbolRowNamesWhatASymbolOfAnotherSystemDraws) {
    const std::vector<std::pair<std::string, std::string>> shown{{"macwindow.badge.plus", "window with plus"},
                                                                 {"safari", "web browser"},
                                                                 {"command", "Super key"},
                                                                 {"option", "Alt key"}};
    for (const auto& [name, text] : shown)
        EXPECT_EQ(symbolRowLabel({name}), text);
    for (const auto& use : testsupport::symbolNamesInUse()) {
        std::string text = symbolRowLabel({use.name});
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        for (const char* word : {"mac", "safari", "command", "option"})
            EXPECT_EQ(text.find(word), std::string::npos) << use.name << " (" << use.where << ")";
    }
}

TEST(SliceFormInputs, TheAppRowNamesTheApplicationFromItsIdentifierOnly) {
    platform::sim::SimMainQueue queue;
    platform::sim::SimWorkspace workspace{queue};
    workspace.installed["org.gnome.Calculator"] = "/usr/share/applications/org.gnome.Calculator.desktop";
    // An identifier of another system found here through its equivalent.
    workspace.installed["com.apple.finder"] = "/usr/share/applications/org.gnome.Nautilus.desktop";
    workspace.names["/usr/share/applications/org.gnome.Nautilus.desktop"] = "Files";
    const std::vector<std::pair<MacroAction::App, std::string>> cases{
        {{"org.gnome.Calculator", std::nullopt}, "org.gnome.Calculator"},
        {{"org.gnome.Calculator", "/elsewhere/Other.desktop"}, "org.gnome.Calculator"},
        {{"com.apple.finder", std::nullopt}, "Files"},
        {{"com.example.Missing", std::nullopt}, "com.example.Missing"},
        {{std::nullopt, "/usr/bin/xterm"}, "No app chosen"},
        {{"", "/usr/bin/xterm"}, "No app chosen"},
        {{std::nullopt, std::nullopt}, "No app chosen"},
    };
    for (const auto& [app, name] : cases)
        EXPECT_EQ(appRowName(app, workspace), name);
}

TEST(SliceFormInputs, TheKeyFieldTakesTheLastCharacterAndKeepsTheModifiers) {
    const KeyCombo commandC{8, true, false, false, false};
    EXPECT_EQ(keyFieldText(commandC), "C");
    EXPECT_EQ(keyFieldText({44, false, false, false, false}), "/");
    EXPECT_TRUE(keyFieldEditable(commandC));
    const KeyCombo returnKey{36, true, true, false, false};
    EXPECT_FALSE(keyFieldEditable(returnKey));
    EXPECT_FALSE(keyFieldText(returnKey).empty());

    const KeyCombo held{8, true, true, true, true};
    struct Case {
        std::string typed;
        std::optional<int> keyCode; // none: nothing changes
    };
    for (const Case& c : std::vector<Case>{{"Cv", 9},
                                           {"v", 9},
                                           {"V", 9},
                                           {"C/", 44},
                                           {"", std::nullopt},
                                           {"é", std::nullopt},
                                           {"Cé", std::nullopt},
                                           {"😀", std::nullopt}}) {
        const auto written = keyFieldWrite(held, c.typed);
        ASSERT_EQ(written.has_value(), c.keyCode.has_value()) << c.typed;
        if (!written) continue;
        KeyCombo expected = held;
        expected.keyCode = *c.keyCode;
        EXPECT_EQ(*written, expected) << c.typed;
    }
}

TEST(SliceFormInputs, CtrlStandsForCommandAndControl) {
    EXPECT_EQ(std::vector<Modifier>(std::begin(modifierOrder), std::end(modifierOrder)),
              (std::vector<Modifier>{Modifier::ctrl, Modifier::shift, Modifier::alt, Modifier::super}));
    EXPECT_EQ(modifierTitle(Modifier::ctrl), "Ctrl");
    EXPECT_EQ(modifierTitle(Modifier::shift), "Shift");
    EXPECT_EQ(modifierTitle(Modifier::alt), "Alt");

    const KeyCombo control{9, false, false, false, true};
    EXPECT_TRUE(modifierIsOn(control, Modifier::ctrl));
    EXPECT_TRUE(modifierIsOn({9, true, false, false, false}, Modifier::ctrl));
    EXPECT_EQ(withModifier(control, Modifier::ctrl, true), (KeyCombo{9, true, false, false, false}));
    EXPECT_EQ(withModifier({9, true, true, true, true}, Modifier::ctrl, false),
              (KeyCombo{9, false, true, true, false}));
    EXPECT_EQ(withModifier(control, Modifier::shift, true), (KeyCombo{9, false, true, false, true}));
    EXPECT_EQ(withModifier({9, false, false, true, false}, Modifier::alt, false), (KeyCombo{9}));
    // Super is a toggle of its own, untouched by Ctrl.
    EXPECT_EQ(modifierTitle(Modifier::super), "Super");
    EXPECT_EQ(withModifier(control, Modifier::super, true), (KeyCombo{9, false, false, false, true, true}));
    EXPECT_FALSE(modifierIsOn({9, false, false, false, false, true}, Modifier::ctrl));
}

int checkedRows(const std::vector<MenuSection>& sections) {
    int count = 0;
    for (const auto& section : sections)
        for (const auto& row : section.rows)
            count += row.checked;
    return count;
}

TEST(SliceFormInputs, TheSystemActionMenuChecksOnlyTheExactId) {
    const auto menu = systemActionMenu("toggle-dark-mode", "GNOME");
    // No Dock section: nothing in it is anything a Linux desktop has.
    ASSERT_EQ(menu.size(), 7u);
    EXPECT_EQ(menu[0].title, "Display & Appearance");
    for (const auto& section : menu)
        EXPECT_NE(section.title, "Dock");
    ASSERT_FALSE(menu[0].rows.empty());
    EXPECT_TRUE(menu[0].rows[0].checked);
    EXPECT_EQ(menu[0].rows[0].value, "toggle-dark-mode");
    EXPECT_EQ(checkedRows(menu), 1);
    EXPECT_EQ(systemActionLabel("toggle-dark-mode", "GNOME"), "Toggle Dark Mode");
    // What does nothing on this desktop is marked, with why; what no Linux
    // desktop has is not offered at all.
    std::map<std::string, bool> marked;
    for (const auto& section : menu)
        for (const auto& row : section.rows)
            marked[row.value] = row.unavailable.has_value();
    EXPECT_FALSE(marked.at("toggle-dark-mode"));
    EXPECT_TRUE(marked.at("toggle-file-extensions"));
    for (const char* id : {"toggle-dock-autohide", "toggle-dock-magnification", "true-tone", "stage-manager"})
        EXPECT_FALSE(marked.count(id)) << id;
    for (const std::string id : {"", "Toggle-Dark-Mode", "gone"}) {
        EXPECT_EQ(checkedRows(systemActionMenu(id, "GNOME")), 0) << id;
        EXPECT_EQ(systemActionLabel(id, "GNOME"), "Choose an action…") << id;
    }
    // A stored one keeps its name, marked as the wheel review marks it.
    EXPECT_EQ(systemActionLabel("true-tone", "GNOME"), "Toggle True Tone (not available on this desktop)");
    EXPECT_EQ(systemActionLabel("toggle-file-extensions", "KDE"),
              "Toggle File Extensions (not available on this desktop)");
}

TEST(SliceFormInputs, ThePageMenuChecksTheTargetAndWritesItsId) {
    const auto none = pageMenu(std::nullopt);
    ASSERT_EQ(none.size(), 2u);
    EXPECT_EQ(none[0].title, "Open a Page");
    EXPECT_EQ(none[1].title, "Quick Settings");
    EXPECT_EQ(none[0].rows.size(), 8u);
    // Updates come from the package manager: checking is no quick setting.
    EXPECT_EQ(none[1].rows.size(), 4u);
    EXPECT_EQ(pageLabel("check-for-updates"), "Check for Updates (not available on this desktop)");
    EXPECT_EQ(checkedRows(none), 0);
    EXPECT_EQ(pageLabel(std::nullopt), "Choose…");
    const auto sound = pageMenu("toggle-sound");
    EXPECT_EQ(checkedRows(sound), 1);
    EXPECT_EQ(sound[1].rows[2].value, "toggle-sound");
    EXPECT_TRUE(sound[1].rows[2].checked);
    EXPECT_EQ(pageLabel("toggle-sound"), "Toggle Sound Effects");
}

TEST(SliceFormInputs, AnAutomationMissingFromTheFolderIsMarked) {
    const std::vector<std::string> installed{"Backup", "Lights"};
    struct Case {
        std::string current;
        std::vector<std::string> titles;
    };
    const std::vector<Case> cases{
        {"", {"Choose an automation…", "Backup", "Lights"}},
        {"Lights", {"Choose an automation…", "Backup", "Lights"}},
        {"lights", {"Choose an automation…", "Backup", "Lights"}},
        {"Gone", {"Choose an automation…", "⚠︎ Gone (not installed)", "Backup", "Lights"}},
    };
    for (const Case& c : cases) {
        const auto rows = automationRows(c.current, installed);
        std::vector<std::string> titles;
        for (const auto& row : rows)
            titles.push_back(row.title);
        EXPECT_EQ(titles, c.titles) << c.current;
    }
    const auto gone = automationRows("Gone", installed);
    EXPECT_EQ(gone[1].value, "Gone");
    EXPECT_TRUE(gone[1].checked);
    EXPECT_EQ(gone[0].value, "");
}

} // namespace
