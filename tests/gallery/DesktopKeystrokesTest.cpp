#include "gallery/DesktopKeystrokes.h"

#include "catalog/SystemAction.h"
#include "gallery/WheelGallery.h"
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

std::vector<std::string> sentBy(std::string_view galleryId, std::string_view desktop = "XFCE") {
    std::vector<std::string> out;
    for (const Slice& s :
         DesktopKeystrokes::adapted(testsupport::galleryWheel(galleryId).wheel, desktop).slices)
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
         {"system lock-screen", "system sleep-display", "system log-out", "Alt+F4", "Ctrl+Alt+D", "Alt+F1"}},
        {"gallery-screenshots",
         {"system screenshot", "system screenshot", "system screenshot", "system screenshot"}},
        {"gallery-windows",
         {"system mission-control", "system mission-control", "Ctrl+Alt+Left", "Ctrl+Alt+Right", "F11",
          "Alt+F9", "Alt+`", "Ctrl+W"}},
        {"gallery-app-switching",
         {"Alt+Tab", "Alt+Shift+Tab", "Alt+`", "Alt+Shift+`", "Ctrl+Q", "Ctrl+W", "Alt+F9", "Ctrl+N"}},
        {"gallery-text-editing",
         {"Ctrl+Left", "Ctrl+Right", "Home", "End", "Ctrl+Shift+Right", "Ctrl+Backspace", "Ctrl+Home",
          "Ctrl+End"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sentBy(c.id), c.sent) << c.id;
    EXPECT_EQ(sentBy("gallery-emoji").front(), "system emoji-picker");
}

TEST(DesktopKeystrokes, DesktopsWhoseStockKeysDifferGetTheirOwn) {
    const auto kwin = [](const std::string& name) {
        return "script dbus-send --session --print-reply --type=method_call --dest=org.kde.kglobalaccel "
               "/component/kwin org.kde.kglobalaccel.Component.invokeShortcut string:'" +
               name + "' >/dev/null";
    };
    struct Case {
        const char* desktop;
        std::vector<std::string> windows; // gallery-windows, slots 2, 3 and 5
        std::string showDesktop;          // gallery-power-lock, slot 4
    };
    const std::vector<Case> cases{
        {"KDE",
         {kwin("Switch One Desktop to the Left"), kwin("Switch One Desktop to the Right"),
          kwin("Window Minimize")},
         kwin("Show Desktop")},
        {"ubuntu:GNOME",
         {"Ctrl+Alt+Left", "Ctrl+Alt+Right", "script xdotool getactivewindow windowminimize"},
         "script wmctrl -k on"},
        {"X-Cinnamon", {"Ctrl+Alt+Left", "Ctrl+Alt+Right", "Alt+F9"}, "script wmctrl -k on"},
        {"MATE", {"Ctrl+Alt+Left", "Ctrl+Alt+Right", "Alt+F9"}, "Ctrl+Alt+D"},
        {"", {"Ctrl+Alt+Left", "Ctrl+Alt+Right", "Alt+F9"}, "Ctrl+Alt+D"},
    };
    for (const Case& c : cases) {
        const auto windows = sentBy("gallery-windows", c.desktop);
        EXPECT_EQ((std::vector<std::string>{windows[2], windows[3], windows[5]}), c.windows) << c.desktop;
        EXPECT_EQ(sentBy("gallery-power-lock", c.desktop)[4], c.showDesktop) << c.desktop;
        // No desktop gets a key for logging out: some bind it to shutting down.
        EXPECT_EQ(sentBy("gallery-power-lock", c.desktop)[2], "system log-out") << c.desktop;
    }
}

TEST(DesktopKeystrokes, ApplicationWheelsAreLeftAlone) {
    for (const char* id : {"gallery-apple-music", "gallery-spotify", "gallery-browser", "gallery-terminal"})
        EXPECT_EQ(DesktopKeystrokes::adapted(testsupport::galleryWheel(id).wheel, "KDE"),
                  testsupport::galleryWheel(id).wheel)
            << id;
}

TEST(DesktopKeystrokes, EveryRowIsUsedAndSendsSomethingReal) {
    std::set<std::string> used;
    for (const GalleryWheel& g : WheelGallery::all()) {
        if (!DesktopKeystrokes::appliesTo(g.id)) continue;
        const Wheel adapted = DesktopKeystrokes::adapted(g.wheel, "XFCE");
        for (std::size_t i = 0; i < g.wheel.slices.size(); ++i) {
            const Slice& before = g.wheel.slices[i];
            const Slice& after = adapted.slices[i];
            EXPECT_EQ(std::tie(before.id, before.label, before.icon),
                      std::tie(after.id, after.label, after.icon));
            if (before.action != after.action) used.insert(sent(before.action) + "|" + sent(after.action));
            // Nothing that reaches the desktop as Super-less Ctrl+Space or a
            // workspace-killing Ctrl+Alt+Esc is left.
            if (const auto* k = after.action.as<MacroAction::Keystroke>()) {
                EXPECT_FALSE(k->combo.command && (k->combo.keyCode == 49 || k->combo.keyCode == 48))
                    << g.id << " " << after.label;
                EXPECT_FALSE(k->combo.option && k->combo.keyCode == 53) << g.id << " " << after.label;
            }
        }
    }
    for (const auto& row : DesktopKeystrokes::table()) {
        std::vector<const MacroAction*> sent{&row.sent};
        for (const auto& [desktop, action] : row.elsewhere)
            sent.push_back(&action);
        for (const MacroAction* action : sent) {
            if (const auto* system = action->as<MacroAction::SystemAction>()) {
                EXPECT_TRUE(SystemAction::find(system->id)) << row.command;
            } else if (const auto* keystroke = action->as<MacroAction::Keystroke>()) {
                EXPECT_FALSE(keystroke->combo.command)
                    << row.command; // sent as written, never through Command
                EXPECT_FALSE(KeyComboText::keyLabel(keystroke->combo.keyCode).starts_with("key"))
                    << row.command;
            } else {
                EXPECT_TRUE(action->as<MacroAction::Script>()) << row.command;
            }
        }
    }
    EXPECT_GE(used.size(), 20u);
}

TEST(DesktopKeystrokes, AddedWheelsCarryTheTranslation) {
    const Wheel added = WheelGallery::makeAddable(testsupport::galleryWheel("gallery-power-lock"));
    EXPECT_EQ(sent(added.slices[3].action), "Alt+F4");
    EXPECT_EQ(sent(added.slices[5].action), "Alt+F1");
}
