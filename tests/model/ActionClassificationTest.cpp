#include "model/ActionClassification.h"

#include "util/UrlSyntax.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace rondelix {
namespace {

using App = MacroAction::App;
using Url = MacroAction::Url;

struct Case {
    const char* what;
    MacroAction action;
    bool runsCode;
    bool unconfigured;
};

TEST(ActionClassificationTest, ClassifiesEveryKindOfAction) {
    const std::vector<Case> cases{
        {"text", MacroAction::Text{"hello"}, false, false},
        {"empty text", MacroAction::Text{""}, false, true},
        {"text of one space", MacroAction::Text{" "}, false, false},
        {"system action", MacroAction::SystemAction{"toggle-dark-mode"}, false, false},
        {"empty system action", MacroAction::SystemAction{""}, false, true},
        {"blank system action", MacroAction::SystemAction{" "}, false, false},
        {"script", MacroAction::Script{"echo hi"}, true, false},
        {"blank script", MacroAction::Script{" \n"}, true, true},
        {"shortcut", MacroAction::Shortcut{"Focus"}, true, false},
        {"blank shortcut", MacroAction::Shortcut{"\t\r\n"}, true, true},
        {"settings page", MacroAction::OpenSettings{"wheels"}, false, false},
        {"no settings target", MacroAction::OpenSettings{}, false, false},
        {"keystroke", MacroAction::Keystroke{KeyCombo{.keyCode = 8, .primary = true}}, false, false},
        {"app by identifier", App{"org.gnome.Calculator", std::nullopt}, false, false},
        {"app by identifier with empty path", App{"org.gnome.Calculator", ""}, false, false},
        {"desktop entry", App{std::nullopt, "/usr/share/applications/org.gnome.Notes.desktop"}, false, false},
        {"desktop entry in a subfolder", App{std::nullopt, "/usr/share/applications/kde/konsole.desktop"},
         false, false},
        {"desktop entry in capitals", App{std::nullopt, "/home/me/.local/share/applications//N.DESKTOP"},
         false, false},
        {"downloaded desktop entry", App{std::nullopt, "/home/me/Downloads/Firefox.desktop"}, true, false},
        {"relative desktop entry", App{std::nullopt, "applications/Firefox.desktop"}, true, false},
        {"desktop entry through ..", App{std::nullopt, "/usr/share/applications/../../../tmp/x.desktop"},
         true, false},
        {"desktop entry beside a folder's name", App{std::nullopt, "/usr/share/applications2/x.desktop"},
         true, false},
        {"executable in an applications folder", App{std::nullopt, "/usr/share/applications/tool"}, true,
         false},
        {"desktop entry with identifier", App{"org.gnome.Notes", "/tmp/Notes.desktop"}, true, false},
        {"executable named like another system's package", App{std::nullopt, "/opt/Notes.app"}, true, false},
        {"executable named like a package in a folder", App{std::nullopt, "/opt/Notes.app/"}, true, false},
        {"desktop entry name inside a path", App{std::nullopt, "/opt/x.desktop/bin/tool"}, true, false},
        {"command-line tool", App{std::nullopt, "/usr/bin/python3"}, true, false},
        {"script file", App{std::nullopt, "/home/me/run.sh"}, true, false},
        {"script file with identifier", App{"org.example", "/tmp/a.command"}, true, false},
        {"app with nothing", App{}, false, true},
        {"app with both empty", App{"", ""}, false, true},
        {"https link", Url{"https://example.com"}, false, false},
        {"http in capitals", Url{"HTTP://example.com"}, false, false},
        {"mail link in spaces", Url{"  mailto:me@example.com \n"}, false, false},
        {"javascript link", Url{"javascript:alert(1)"}, true, false},
        {"javascript link a parser rejects", Url{"javascript:alert(1) //x"}, true, false},
        {"javascript in mixed case", Url{" JavaScript:alert(1)"}, true, false},
        {"file link", Url{"file:///etc/passwd"}, true, false},
        {"ssh link", Url{"ssh://host"}, true, false},
        {"application scheme", Url{"x-my-app+v1.0:open"}, true, false},
        {"host with port", Url{"localhost:8080"}, true, false},
        {"bare word", Url{"example"}, false, false},
        {"bare host with path", Url{"example.com/a:b"}, false, false},
        {"scheme starting with a digit", Url{"1http:x"}, false, false},
        {"colon first", Url{":x"}, false, false},
        {"empty link", Url{""}, false, true},
        {"blank link", Url{" \n "}, false, true},
        {"https prefix only", Url{"https://"}, false, true},
        {"http prefix only in spaces", Url{" http:// "}, false, true},
        {"http prefix in capitals", Url{"HTTP://"}, false, false},
        {"javascript prefix only", Url{"javascript:"}, true, false},
        {"kind of a newer version", MacroAction::Unknown{"teleport", R"({"teleport":{}})"}, true, false},
    };
    const ApplicationFolders installed{"/usr/share/applications", "/home/me/.local/share/applications/"};
    for (const auto& c : cases) {
        EXPECT_EQ(canRunCode(c.action, installed), c.runsCode) << c.what;
        EXPECT_EQ(isUnconfigured(c.action), c.unconfigured) << c.what;
    }
}

TEST(ActionClassificationTest, SchemeNeedsALetterFirstAndIsLowerCased) {
    EXPECT_EQ(urlScheme("JavaScript:x"), "javascript");
    EXPECT_EQ(urlScheme("a+b-c.d:"), "a+b-c.d");
    EXPECT_EQ(urlScheme("java script:x"), std::nullopt);
    EXPECT_EQ(urlScheme("\xC3\xA9t\xC3\xA9:x"), std::nullopt);
    EXPECT_EQ(urlScheme("nocolon"), std::nullopt);
}

Slice slice(int position, std::string label, MacroAction action) {
    Slice s;
    s.position = position;
    s.label = std::move(label);
    s.action = std::move(action);
    return s;
}

TEST(ActionClassificationTest, WheelContainsCodeWhenAnySliceRunsCode) {
    Wheel wheel;
    EXPECT_FALSE(containsCode(wheel));
    EXPECT_TRUE(codeWarnings(wheel).empty());
    wheel.slices = {slice(0, "Hi", MacroAction::Text{"hi"}), slice(1, "Web", Url{"https://example.com"})};
    EXPECT_FALSE(containsCode(wheel));
    EXPECT_TRUE(codeWarnings(wheel).empty());
    wheel.slices.push_back(slice(2, "Tool", App{std::nullopt, "/usr/bin/tool"}));
    EXPECT_TRUE(containsCode(wheel));
}

TEST(ActionClassificationTest, WarnsOncePerCodeSliceInSlotOrder) {
    Wheel wheel;
    wheel.slices = {
        slice(3, "Build", MacroAction::Script{"make"}),
        slice(1, "Site", Url{"https://example.com"}),
        slice(0, "Clean", MacroAction::Script{"make clean"}),
        slice(2, "Tool", App{std::nullopt, "/usr/bin/tool"}),
        slice(2, "Same slot", Url{"javascript:go()"}),
        slice(5, "Focus", MacroAction::Shortcut{"Focus Mode"}),
        slice(6, "Gone", App{"org.example", std::nullopt}),
        slice(7, "Later", MacroAction::Unknown{"teleport", R"({"teleport":{}})"}),
    };
    const std::vector<std::string> expected{
        "\u201CClean\u201D runs a script: make clean",
        "\u201CTool\u201D launches a file: /usr/bin/tool",
        "\u201CSame slot\u201D opens: javascript:go()",
        "\u201CBuild\u201D runs a script: make",
        "\u201CFocus\u201D runs the automation \u201CFocus Mode\u201D",
        "\u201CLater\u201D runs an action from a newer version of Rondelix: teleport",
    };
    EXPECT_EQ(codeWarnings(wheel), expected);
}

TEST(ActionClassificationTest, NamesUnlabelledSlicesByTheirSlotNumber) {
    Wheel wheel;
    wheel.slices = {slice(4, "  ", MacroAction::Shortcut{"Night"}), slice(0, "\u202E\u200B", Url{"ssh://h"})};
    const std::vector<std::string> expected{
        "\u201CSlice 1\u201D opens: ssh://h",
        "\u201CSlice 5\u201D runs the automation \u201CNight\u201D",
    };
    EXPECT_EQ(codeWarnings(wheel), expected);
}

TEST(ActionClassificationTest, WarningShowsLinkAndScriptOnOneClippedLine) {
    std::string command;
    for (int i = 0; i < 20; ++i)
        command += "echo 12345\n"; // 220 characters, line breaks included
    Wheel wheel;
    wheel.slices = {slice(0, "Long", MacroAction::Script{command}),
                    slice(1, "Link", Url{"  JAVASCRIPT:x  "})};
    const auto lines = codeWarnings(wheel);
    ASSERT_EQ(lines.size(), 2u);
    std::string cut;
    for (int i = 0; i < 11; ++i)
        cut += "echo 12345 ";
    cut = cut.substr(0, 120) + "\u2026";
    EXPECT_EQ(lines[0], "\u201CLong\u201D runs a script: " + cut);
    EXPECT_EQ(lines[1], "\u201CLink\u201D opens: JAVASCRIPT:x");
}

TEST(ActionClassificationTest, WarningLinesCarryNoControlThatCouldHideOrReorderText) {
    Wheel wheel;
    wheel.slices = {
        slice(0, "evil\u202Etxt.exe\u2066\u200F", App{std::nullopt, "/tmp/a\x1B[2K\x07\xC2\x9B.sh"}),
        slice(1, std::string(70, 'L'), MacroAction::Shortcut{std::string(61, 's')})};
    const auto lines = codeWarnings(wheel);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "\u201Ceviltxt.exe\u201D launches a file: /tmp/a[2K.sh");
    EXPECT_EQ(lines[1], "\u201C" + std::string(60, 'L') + "\u2026\u201D runs the automation \u201C" +
                            std::string(60, 's') + "\u2026\u201D");
}

TEST(ActionClassificationTest, SurvivesHostileSlices) {
    std::string marks = "a";
    for (int i = 0; i < 500000; ++i)
        marks += "\xCC\x81"; // about 1 MB of combining acute accents
    Wheel wheel;
    wheel.slices = {slice(0, marks, MacroAction::Script{"\xFF\xFE\xC0\x80 \xED\xA0\x80"}),
                    slice(1, "NUL", Url{std::string("java\0script:x", 13)})};
    // The marks make one user-visible character, kept whole; ill-formed bytes show as replacements.
    const std::vector<std::string> expected{
        "\u201C" + marks + "\u201D runs a script: \uFFFD\uFFFD\uFFFD\uFFFD \uFFFD\uFFFD\uFFFD"};
    EXPECT_EQ(codeWarnings(wheel), expected);
}

} // namespace
} // namespace rondelix
