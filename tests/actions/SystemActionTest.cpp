#include "catalog/SystemAction.h"

#include "ExecutorFixture.h"
#include "actions/SystemActionRoute.h"
#include "catalog/ShortcutCatalog.h"

namespace rondelix {
namespace {

using Lines = std::vector<std::string>;
using Posted = platform::sim::SimEventTaps::Posted;

// The tools a desktop-dependent action's command tries, in the order it tries them.
std::vector<std::string> toolsTried(const std::string& script) {
    std::vector<std::string> tools;
    const std::string marker = "if command -v ";
    for (auto at = script.find(marker); at != std::string::npos; at = script.find(marker, at + 1)) {
        const auto start = at + marker.size();
        tools.push_back(script.substr(start, script.find(' ', start) - start));
    }
    return tools;
}

TEST_F(ExecutorTest, DesktopActionsTryTheCurrentDesktopsToolFirstThenTheOthers) {
    struct Case {
        const char* id;
        const char* desktop;
        Lines tools;
    };
    const std::vector<Case> cases{
        {"toggle-dark-mode",
         "GNOME",
         {"gsettings", "plasma-apply-colorscheme", "xfconf-query", "gsettings", "gsettings"}},
        {"toggle-dark-mode",
         "KDE",
         {"plasma-apply-colorscheme", "gsettings", "xfconf-query", "gsettings", "gsettings"}},
        {"toggle-dark-mode",
         "XFCE",
         {"xfconf-query", "gsettings", "plasma-apply-colorscheme", "gsettings", "gsettings"}},
        {"toggle-dark-mode",
         "ubuntu:GNOME",
         {"gsettings", "plasma-apply-colorscheme", "xfconf-query", "gsettings", "gsettings"}},
        {"volume-up", "KDE", {"pactl", "wpctl", "amixer"}},
        {"sleep-display", "", {"xset"}},
        {"screenshot",
         "KDE",
         {"spectacle", "gnome-screenshot", "xfce4-screenshooter", "mate-screenshot", "gnome-screenshot",
          "flameshot"}},
        {"mission-control", "GNOME", {"gdbus"}},
        {"open-settings",
         "XFCE",
         {"xfce4-settings-manager", "gnome-control-center", "systemsettings", "systemsettings5",
          "mate-control-center", "cinnamon-settings"}},
    };
    for (const auto& c : cases) {
        const auto route = systemActionRoute(c.id, c.desktop);
        ASSERT_TRUE(std::holds_alternative<route::Queued>(route)) << c.id;
        const auto& command = std::get<route::Queued>(route);
        EXPECT_EQ(command.program, "/bin/sh");
        EXPECT_EQ(toolsTried(command.arguments.at(1)), c.tools) << c.id << " on " << c.desktop;
    }
}

// Plasma runs its own shortcut whatever keys the user gave it; the other
// desktops get their window manager's stock key, or its hint where the stock
// key holds Super.
TEST_F(ExecutorTest, WindowCommandsGoThroughKWinOnPlasmaAndTheStockKeysElsewhere) {
    const KeyCombo ctrlAltD{.keyCode = 2, .alt = true, .control = true};
    const KeyCombo altF9{.keyCode = 101, .alt = true};
    const KeyCombo ctrlAltLeft{.keyCode = 123, .alt = true, .control = true};
    struct Case {
        const char* id;
        const char* desktop;
        std::variant<KeyCombo, const char*> sent; // a key, or the tool the command runs
    };
    const std::vector<Case> cases{
        {"show-desktop", "KDE", "dbus-send"},     {"show-desktop", "ubuntu:GNOME", "wmctrl"},
        {"show-desktop", "X-Cinnamon", "wmctrl"}, {"show-desktop", "XFCE", ctrlAltD},
        {"show-desktop", "", ctrlAltD},           {"minimize-window", "KDE", "dbus-send"},
        {"minimize-window", "GNOME", "xdotool"},  {"minimize-window", "MATE", altF9},
        {"workspace-left", "KDE", "dbus-send"},   {"workspace-left", "XFCE", ctrlAltLeft},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.id) + " on " + c.desktop);
        const auto route = systemActionRoute(c.id, c.desktop);
        if (const auto* key = std::get_if<KeyCombo>(&c.sent)) {
            EXPECT_EQ(route, SystemActionRoute{route::Keystroke{*key}});
        } else {
            ASSERT_TRUE(std::holds_alternative<route::Queued>(route));
            EXPECT_EQ(toolsTried(std::get<route::Queued>(route).arguments.at(1)),
                      Lines{std::get<const char*>(c.sent)});
        }
    }
}

TEST_F(ExecutorTest, EverySystemActionWithItsToolsMissingSaysSo) {
    // Nothing is installed: every child fails as a shell does for a missing tool.
    for (const auto& action : SystemAction::all()) {
        reported.clear();
        shortcutFailures.clear();
        taps.clearRecords();
        const auto children = processes.children().size();
        fireSystem(action.id);
        for (auto i = children; i < processes.children().size(); ++i)
            processes.finish(i, 127, "none of these tools is installed");
        queue.runPending();
        const bool told = !reported.empty() || !shortcutFailures.empty() || !workspace.openedLinks.empty();
        EXPECT_TRUE(told || !taps.posted().empty()) << action.id << " failed without a word";
        workspace.openedLinks.clear();
    }
    EXPECT_EQ(sounds.beeps, 0);
}

TEST_F(ExecutorTest, MediaAndBrightnessKeysArePressedAndReleased) {
    const std::vector<std::pair<std::string, int>> keys = {{"brightness-up", 2},
                                                           {"brightness-down", 3},
                                                           {"media-playpause", 16},
                                                           {"media-next", 17},
                                                           {"media-previous", 18}};
    for (const auto& [id, type] : keys) {
        taps.clearRecords();
        fireSystem(id);
        ASSERT_EQ(taps.posted().size(), 2u) << id;
        EXPECT_EQ(taps.posted()[0].kind, Posted::Kind::media);
        EXPECT_EQ(taps.posted()[0].code, type) << id;
        EXPECT_TRUE(taps.posted()[0].down);
        EXPECT_FALSE(taps.posted()[1].down);
    }
    EXPECT_TRUE(processes.children().empty());
}

TEST_F(ExecutorTest, TheEmojiPickerIsControlPeriod) {
    fireSystem("emoji-picker");
    ASSERT_EQ(taps.posted().size(), 2u);
    EXPECT_EQ(taps.posted()[0].code, 47);
    EXPECT_EQ(taps.posted()[0].flags, 0x100000u);
}

TEST_F(ExecutorTest, ShortcutBackedActionsRunTheirAutomationAndMatchTheCatalogue) {
    for (const auto& requirement : ShortcutCatalog::requirements()) {
        const auto count = processes.children().size();
        fireSystem(requirement.id);
        ASSERT_EQ(processes.children().size(), count + 1) << requirement.id;
        EXPECT_EQ(request(count).program, "/home/u/.config/rondelix/shortcuts/" + requirement.shortcutName);
        processes.finish(count, 1);
        queue.runPending();
    }
    EXPECT_EQ(shortcutFailures, (Lines{"Toggle Bluetooth", "Toggle Do Not Disturb", "Toggle Night Light"}));
}

TEST_F(ExecutorTest, ActionsWithoutAnEquivalentHereAreUnavailable) {
    for (const char* id :
         {"toggle-desktop-icons", "toggle-file-extensions", "toggle-dock-autohide",
          "toggle-dock-magnification", "true-tone", "stage-manager", "Toggle-Dark-Mode", "", "made-up"})
        fireSystem(id);
    EXPECT_EQ(reported, Lines(9, "That action isn't available."));
    EXPECT_TRUE(processes.children().empty());
    EXPECT_FALSE(SystemAction::find("Toggle-Dark-Mode"));
    EXPECT_FALSE(SystemAction::find(""));
}

// What a menu shows greyed is read from the routes that run the actions: an
// action is marked unavailable exactly when firing it only says so.
TEST_F(ExecutorTest, TheActionsMarkedUnavailableAreThoseThatDoNothingHere) {
    for (const SystemAction& action : SystemAction::all()) {
        SCOPED_TRACE(action.id);
        reported.clear();
        fireSystem(action.id);
        const bool saysUnavailable = reported == Lines{"That action isn't available."};
        const auto reason = systemActionUnavailableReason(action.id, "");
        EXPECT_EQ(reason.has_value(), saysUnavailable);
        // Only what no Linux desktop has is left out of the menus.
        if (!systemActionOfferedOnLinux(action.id)) {
            EXPECT_TRUE(reason);
        }
    }
    EXPECT_EQ(systemActionUnavailableReason("toggle-dock-autohide", "GNOME"),
              "This desktop has nothing that does this.");
    EXPECT_EQ(systemActionUnavailableReason("true-tone", "KDE"), "This desktop has nothing that does this.");
    for (const char* id : {"toggle-dock-autohide", "toggle-dock-magnification", "true-tone", "stage-manager"})
        EXPECT_FALSE(systemActionOfferedOnLinux(id)) << id;
    for (const char* id : {"toggle-dark-mode", "toggle-file-extensions", "log-out", "made-up"})
        EXPECT_EQ(systemActionOfferedOnLinux(id), SystemAction::find(id).has_value()) << id;
    EXPECT_EQ(systemActionUnavailableReason("toggle-dark-mode", "GNOME"), std::nullopt);
    // Another desktop's tool would run and change nothing here.
    for (const auto& [id, desktop] : std::vector<std::pair<const char*, const char*>>{
             {"toggle-hidden-files", "KDE"}, {"mission-control", "XFCE"}, {"mission-control", "MATE"}})
        EXPECT_TRUE(systemActionUnavailableReason(id, desktop)) << id << " on " << desktop;
}

TEST_F(ExecutorTest, ANewFileManagerWindowOpensTheHomeFolder) {
    fireSystem("new-finder-window");
    EXPECT_EQ(workspace.openedLinks, Lines{"file:///home/u"});
    workspace.linksOpen = false;
    fireSystem("new-finder-window");
    EXPECT_EQ(reported, Lines{"That action couldn't run."});
}

TEST_F(ExecutorTest, ALockScreenFailureIsSaidAndLogsTheFixedLineThenWhatFailed) {
    fireSystem("lock-screen");
    EXPECT_EQ(toolsTried(commandLine(0).at(2)),
              (Lines{"gdbus", "loginctl", "xflock4", "mate-screensaver-command",
                     "cinnamon-screensaver-command", "loginctl", "xdg-screensaver"}));
    processes.finish(0, 0);
    fireSystem("lock-screen");
    processes.finish(1, 127, "none of these tools is installed: gdbus, loginctl");
    queue.runPending();
    EXPECT_EQ(reported, Lines{"That action couldn't run."});
    EXPECT_TRUE(log.contains("Rondelix: lock-screen failed \u2014 couldn't load login.framework."));
    EXPECT_TRUE(
        log.contains("Rondelix: lock-screen: exited 127: none of these tools is installed: gdbus, loginctl"));
    EXPECT_EQ(sounds.beeps, 0);
}

TEST_F(ExecutorTest, WiFiToggleProbesThenQueuesTheOppositeOnce) {
    fireSystem("toggle-wifi");
    fireSystem("toggle-wifi");
    EXPECT_EQ(sounds.beeps, 1);
    ASSERT_EQ(processes.children().size(), 1u);
    EXPECT_EQ(commandLine(0), (Lines{"env", "LC_ALL=C", "nmcli", "radio", "wifi"}));
    EXPECT_TRUE(request(0).captureStandardOutput);

    processes.finish(0, 0, "", "enabled\n");
    queue.runPending();
    EXPECT_FALSE(executor.wifiToggleInFlight());
    ASSERT_EQ(processes.children().size(), 2u);
    EXPECT_EQ(commandLine(1), (Lines{"nmcli", "radio", "wifi", "off"}));
    processes.finish(1, 0);
    queue.runPending();

    fireSystem("toggle-wifi");
    processes.finish(2, 0, "", "disabled\n");
    queue.runPending();
    EXPECT_EQ(commandLine(3), (Lines{"nmcli", "radio", "wifi", "on"}));
}

TEST_F(ExecutorTest, WiFiWithoutAnAnswerIsSaidLogsAndCanBeTriedAgain) {
    fireSystem("toggle-wifi");
    processes.finish(0, 8, "Error: NetworkManager is not running.");
    queue.runPending();
    EXPECT_EQ(reported, Lines{"That action couldn't run."});
    EXPECT_TRUE(log.contains("Rondelix: toggle-wifi failed \u2014 couldn't find the Wi-Fi hardware port."));
    EXPECT_TRUE(log.contains("Rondelix: toggle-wifi: exited 8: Error: NetworkManager is not running."));
    EXPECT_FALSE(executor.wifiToggleInFlight());

    fireSystem("toggle-wifi");
    EXPECT_EQ(processes.children().size(), 2u);
}

TEST(SystemActionRoutes, EveryCatalogueIdHasItsOwnRow) {
    // A catalogue id that fell through to the unknown-id row would read as
    // deliberately unavailable; only these six are.
    const std::set<std::string> unavailable = {"toggle-desktop-icons",
                                               "toggle-file-extensions",
                                               "toggle-dock-autohide",
                                               "toggle-dock-magnification",
                                               "true-tone",
                                               "stage-manager"};
    for (const auto& action : SystemAction::all())
        EXPECT_EQ(std::holds_alternative<route::Unavailable>(systemActionRoute(action.id, "GNOME")),
                  unavailable.count(action.id) == 1)
            << action.id;
}

} // namespace
} // namespace rondelix
