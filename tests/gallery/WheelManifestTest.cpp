#include "gallery/WheelManifest.h"

#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimWorkspace.h"

#include <gtest/gtest.h>

using namespace rondelix;
using WheelManifest::Description;

namespace {

struct Manifest : ::testing::Test {
    platform::sim::SimMainQueue queue;
    platform::sim::SimWorkspace workspace{queue};

    Description describe(MacroAction action) { return WheelManifest::describe(action, workspace); }
};

Slice slice(int position, const std::string& label) {
    return Slice{Uuid::generate(), position, label, Icon::None{}, MacroAction::Text{label}};
}

} // namespace

TEST_F(Manifest, DescribesEveryKindOfAction) {
    using A = MacroAction;
    workspace.installed["org.gnome.Calculator"] = "/usr/share/applications/org.gnome.Calculator.desktop";
    workspace.installed["mail"] = "/Applications/Mail.app/";
    // Another platform's identifier resolved to this desktop's file manager.
    workspace.installed["com.apple.finder"] = "/usr/share/applications/org.gnome.Nautilus.desktop";
    workspace.names["/usr/share/applications/org.gnome.Nautilus.desktop"] = "Files";
    const std::string text24 = "abcdefghijklmnopqrstuvwx", e23(23, 'e');
    const std::vector<std::pair<MacroAction, Description>> cases{
        {A::Text{text24}, {"Types “" + text24 + "”", "text.cursor"}},
        {A::Text{text24 + "y"}, {"Types “" + text24 + "…”", "text.cursor"}},
        {A::Text{e23 + "👍🏽z"}, {"Types “" + e23 + "👍🏽…”", "text.cursor"}},
        {A::Text{""}, {"Types text", "text.cursor"}},
        {A::Text{"\n"}, {"Types “…” (2 lines)", "text.cursor"}},
        {A::Text{"Thanks!\r\nWe got it.\n- Robin"}, {"Types “Thanks!…” (3 lines)", "text.cursor"}},
        {A::Text{text24 + "y\rrm -rf ~\r"}, {"Types “" + text24 + "…” (3 lines)", "text.cursor"}},
        {A::Url{"https://www.example.com/path?q=1"}, {"Opens www.example.com", "safari"}},
        {A::Url{"example.com"}, {"Opens example.com", "safari"}},
        {A::Url{"mailto:someone@example.com"}, {"Opens mailto:someone@example.com", "safari"}},
        {A::Url{"https://exa mple.com"}, {"Opens https://exa mple.com", "safari"}},
        {A::Url{"http://[::1]:80/"}, {"Opens [::1]", "safari"}},
        {A::Url{"svn+ssh://host.example/repo"}, {"Opens host.example", "safari"}},
        {A::Url{"\uFEFFsteam://run/1\u2066"}, {"Opens run", "safari"}},
        {A::Url{"web_link://example.com"}, {"Opens web_link://example.com", "safari"}}, // no scheme has "_"
        {A::Url{"https://example.com:http/"}, {"Opens https://example.com:http/", "safari"}},
        {A::SystemAction{"toggle-dark-mode"}, {"Toggle Dark Mode", "moon.fill"}},
        {A::SystemAction{"make-coffee"}, {"make-coffee", "gearshape"}},
        {A::Script{"rm -rf /"}, {"Runs a shell script", "terminal"}},
        {A::Shortcut{"Focus"}, {"Runs the automation “Focus”", "square.stack.3d.up"}},
        {A::OpenSettings{"open-sound"}, {"Opens Sound & Feedback", "speaker.wave.2"}},
        {A::OpenSettings{"pause-summon"}, {"Pause / Resume Summon", "pause.circle"}},
        {A::OpenSettings{}, {"Opens Rondelix", "gearshape"}},
        {A::OpenSettings{"open-nowhere"}, {"Opens Rondelix", "gearshape"}},
        {A::Keystroke{KeyCombo{.keyCode = 1, .primary = true, .shift = true}},
         {"Sends Ctrl+Shift+S", "keyboard"}},
        {A::Keystroke{KeyCombo{.keyCode = 1, .primary = true, .shift = true, .alt = true, .control = true}},
         {"Sends Ctrl+Alt+Shift+S", "keyboard"}},
        {A::App{"org.gnome.Calculator", "/usr/bin/other"}, {"Opens org.gnome.Calculator", "app.fill"}},
        {A::App{"mail", std::nullopt}, {"Opens Mail", "app.fill"}},
        {A::App{"com.apple.finder", std::nullopt}, {"Opens Files", "app.fill"}},
        {A::App{"missing.app.id", "/opt/Tools/Editor.app"}, {"Opens Editor", "app.fill"}},
        {A::App{"missing.app.id", std::nullopt}, {"Opens missing.app.id", "app.fill"}},
        {A::App{std::nullopt, "/usr/bin/archive.tar.gz"}, {"Opens archive.tar", "app.fill"}},
        {A::App{std::nullopt, std::nullopt}, {"Opens an app", "app.fill"}},
    };
    for (const auto& [action, expected] : cases)
        EXPECT_EQ(describe(action), expected) << expected.detail;
}

TEST_F(Manifest, ListsSlicesInSlotOrderWithOneLineLabels) {
    const Wheel wheel{
        "w", "W", 8, {slice(2, "b"), slice(0, ""), slice(2, "c"), slice(1, "two\nlines"), slice(3, "\n")}};
    const auto entries = WheelManifest::entries(wheel, workspace);
    std::vector<std::string> labels;
    for (const auto& entry : entries)
        labels.push_back(entry.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"Slice 1", "two lines", "b", "c", " "}));
    EXPECT_EQ(entries[2].detail + " " + entries[2].icon, "Types “b” text.cursor");
    EXPECT_NE(entries[0].id, WheelManifest::entries(wheel, workspace)[0].id);
    EXPECT_TRUE(WheelManifest::entries(Wheel{.id = "empty"}, workspace).empty());
}
