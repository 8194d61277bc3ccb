#include "gallery/DesktopKeystrokes.h"

#include "catalog/SystemAction.h"
#include "gallery/WheelGallery.h"
#include "model/ActionClassification.h"
#include "model/KeyComboText.h"
#include "support/GalleryWheelById.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace rondelix;

namespace {

// What a slice does here, in the words the program shows it with.
std::string sent(const MacroAction& action) {
    if (const auto* keystroke = action.as<MacroAction::Keystroke>())
        return KeyComboText::displayString(keystroke->combo);
    if (const auto* system = action.as<MacroAction::SystemAction>()) return "system " + system->id;
    if (const auto* script = action.as<MacroAction::Script>()) return "script " + script->source;
    return "other";
}

std::vector<std::string> sentBy(std::string_view galleryId) {
    std::vector<std::string> out;
    for (const Slice& s : DesktopKeystrokes::adapted(testsupport::galleryWheel(galleryId).wheel).slices)
        out.push_back(sent(s.action));
    return out;
}

} // namespace

TEST(DesktopKeystrokes, DesktopWheelsSendThisDesktopsKeys) {
    struct Case {
        std::string id;
        std::vector<std::string> sent;
    };
    const std::vector<Case> cases{
        {"gallery-power-lock",
         {"system lock-screen", "system sleep-display", "system log-out", "Alt+F4", "system show-desktop",
          "Alt+F1"}},
        {"gallery-screenshots",
         {"system screenshot", "system screenshot", "system screenshot", "system screenshot"}},
        {"gallery-windows",
         {"system mission-control", "system mission-control", "system workspace-left",
          "system workspace-right", "F11", "system minimize-window", "Alt+`", "Ctrl+W"}},
        {"gallery-app-switching",
         {"Alt+Tab", "Alt+Shift+Tab", "Alt+`", "Alt+Shift+`", "Ctrl+Q", "Ctrl+W", "system minimize-window",
          "Ctrl+N"}},
        {"gallery-text-editing",
         {"Ctrl+Left", "Ctrl+Right", "Home", "End", "Ctrl+Shift+Right", "Ctrl+Backspace", "Ctrl+Home",
          "Ctrl+End"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sentBy(c.id), c.sent) << c.id;
    EXPECT_EQ(sentBy("gallery-emoji").front(), "system emoji-picker");
}

// A desktop's own way to a window command is the system action's business:
// what the gallery adds runs no code on any desktop, so official wheels stay
// official.
TEST(DesktopKeystrokes, DesktopWheelsRunNoCode) {
    for (const GalleryWheel& g : WheelGallery::all())
        if (DesktopKeystrokes::appliesTo(g.id)) {
            EXPECT_FALSE(containsCode(g.wheel)) << g.id;
            EXPECT_FALSE(containsCode(DesktopKeystrokes::adapted(g.wheel))) << g.id;
        }
}

TEST(DesktopKeystrokes, ApplicationWheelsAreLeftAlone) {
    for (const char* id : {"gallery-apple-music", "gallery-spotify", "gallery-browser", "gallery-terminal"})
        EXPECT_EQ(DesktopKeystrokes::adapted(testsupport::galleryWheel(id).wheel),
                  testsupport::galleryWheel(id).wheel)
            << id;
}

TEST(DesktopKeystrokes, EveryRowIsUsedAndSendsSomethingReal) {
    std::set<std::string> used;
    for (const GalleryWheel& g : WheelGallery::all()) {
        if (!DesktopKeystrokes::appliesTo(g.id)) continue;
        const Wheel adapted = DesktopKeystrokes::adapted(g.wheel);
        for (std::size_t i = 0; i < g.wheel.slices.size(); ++i) {
            const Slice& before = g.wheel.slices[i];
            const Slice& after = adapted.slices[i];
            EXPECT_EQ(std::tie(before.id, before.label, before.icon),
                      std::tie(after.id, after.label, after.icon));
            if (before.action != after.action) used.insert(sent(before.action) + "|" + sent(after.action));
            // Nothing that reaches the desktop as Super-less Ctrl+Space or a
            // workspace-killing Ctrl+Alt+Esc is left.
            if (const auto* k = after.action.as<MacroAction::Keystroke>()) {
                EXPECT_FALSE(k->combo.primary && (k->combo.keyCode == 49 || k->combo.keyCode == 48))
                    << g.id << " " << after.label;
                EXPECT_FALSE(k->combo.alt && k->combo.keyCode == 53) << g.id << " " << after.label;
            }
        }
    }
    for (const auto& row : DesktopKeystrokes::table()) {
        if (const auto* system = row.sent.as<MacroAction::SystemAction>()) {
            EXPECT_TRUE(SystemAction::find(system->id)) << row.command;
        } else {
            const auto* keystroke = row.sent.as<MacroAction::Keystroke>();
            ASSERT_TRUE(keystroke) << row.command;
            EXPECT_FALSE(keystroke->combo.primary)
                << row.command; // sent as written, never through the shortcut key
            EXPECT_FALSE(KeyComboText::keyLabel(keystroke->combo.keyCode).starts_with("key")) << row.command;
        }
    }
    EXPECT_GE(used.size(), 20u);
}

TEST(DesktopKeystrokes, AddedWheelsCarryTheTranslation) {
    const Wheel added = WheelGallery::makeAddable(testsupport::galleryWheel("gallery-power-lock"));
    EXPECT_EQ(sent(added.slices[3].action), "Alt+F4");
    EXPECT_EQ(sent(added.slices[5].action), "Alt+F1");
}
