#include "actions/SystemActionRoute.h"
#include "catalog/SystemAction.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace rondelix {
namespace {

namespace fs = std::filesystem;

// Every tool a system action may run, as a stand-in that notes its name and
// arguments and succeeds.
const std::vector<std::string> standInTools{"gsettings",
                                            "plasma-apply-colorscheme",
                                            "xfconf-query",
                                            "pactl",
                                            "wpctl",
                                            "amixer",
                                            "xset",
                                            "gnome-screenshot",
                                            "spectacle",
                                            "xfce4-screenshooter",
                                            "mate-screenshot",
                                            "flameshot",
                                            "gdbus",
                                            "dbus-send",
                                            "gnome-control-center",
                                            "systemsettings",
                                            "systemsettings5",
                                            "xfce4-settings-manager",
                                            "mate-control-center",
                                            "cinnamon-settings",
                                            "xflock4",
                                            "mate-screensaver-command",
                                            "cinnamon-screensaver-command",
                                            "loginctl",
                                            "xdg-screensaver",
                                            "xfce4-session-logout",
                                            "mate-session-save",
                                            "cinnamon-session-quit",
                                            "plasma-emojier",
                                            "wmctrl",
                                            "xdotool"};

class SystemActionToolsTest : public ::testing::Test {
  protected:
    fs::path root = fs::temp_directory_path() / ("rondelix-tools-" + std::to_string(::getpid()));
    fs::path bin = root / "bin";
    int runs = 0;

    void SetUp() override { fs::create_directories(bin); }
    void TearDown() override { fs::remove_all(root); }

    void installStandIns() {
        for (const auto& tool : standInTools) {
            const fs::path path = bin / tool;
            std::ofstream(path) << "#!/bin/sh\necho \"" << tool << " $*\" >> \"$RECORD\"\n";
            fs::permissions(path, fs::perms::owner_all);
        }
        // The scripts read answers through these; they stay real.
        for (const char* real : {"/usr/bin/grep", "/usr/bin/tr"})
            fs::create_symlink(real, bin / fs::path(real).filename());
    }

    // Runs the command with only the stand-ins on PATH; answers its exit
    // status and what the stand-ins noted.
    std::pair<int, std::string> run(const route::Queued& command, std::vector<std::string> environment = {}) {
        // A record of its own: a window started in the background by an
        // earlier run may still be writing to that run's.
        const fs::path record = root / ("record-" + std::to_string(++runs));
        std::vector<std::string> words{command.program};
        words.insert(words.end(), command.arguments.begin(), command.arguments.end());
        std::vector<char*> argv;
        for (auto& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        std::string path = "PATH=" + bin.string(), recordVariable = "RECORD=" + record.string();
        environment.push_back(path);
        environment.push_back(recordVariable);
        std::vector<char*> envp;
        for (auto& variable : environment)
            envp.push_back(variable.data());
        envp.push_back(nullptr);
        pid_t child = 0;
        if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) return {-1, ""};
        int status = 0;
        ::waitpid(child, &status, 0);
        std::ifstream in(record);
        std::stringstream noted;
        noted << in.rdbuf();
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, noted.str()};
    }
};

TEST_F(SystemActionToolsTest, EachDesktopRunsItsOwnToolAndNoToolMeansAFailure) {
    struct Case {
        const char* id;
        const char* desktop;
        // The stand-in that ran first, with the start of its arguments; empty
        // for a window started in the background, which only has to be found.
        const char* firstNoted;
    };
    const std::vector<Case> cases{
        {"toggle-dark-mode", "GNOME", "gsettings get org.gnome.desktop.interface color-scheme"},
        {"toggle-dark-mode", "KDE", "plasma-apply-colorscheme --list-schemes"},
        {"toggle-mute", "GNOME", "pactl set-sink-mute @DEFAULT_SINK@ toggle"},
        {"volume-up", "KDE", "pactl set-sink-volume @DEFAULT_SINK@ +10%"},
        {"volume-down", "XFCE", "pactl set-sink-volume @DEFAULT_SINK@ -10%"},
        {"sleep-display", "KDE", "xset dpms force off"},
        {"screenshot", "GNOME", ""},
        {"screenshot", "KDE", ""},
        {"screenshot", "XFCE", ""},
        {"toggle-hidden-files", "GNOME", "gsettings get org.gtk.gtk4.Settings.FileChooser show-hidden"},
        {"toggle-hidden-files", "XFCE", "xfconf-query -c thunar -p /last-show-hidden"},
        {"mission-control", "GNOME", "gdbus call --session --dest org.gnome.Shell"},
        {"mission-control", "KDE", "dbus-send --session --type=method_call --dest=org.kde.kglobalaccel"},
        {"open-settings", "GNOME", ""},
        {"open-settings", "KDE", ""},
        {"open-settings", "XFCE", ""},
        {"log-out", "GNOME", "gdbus call --session --dest org.gnome.SessionManager"},
        {"log-out", "KDE",
         "dbus-send --session --print-reply --type=method_call --dest=org.kde.LogoutPrompt"},
        {"log-out", "XFCE", ""},
        {"log-out", "MATE", "mate-session-save --logout-dialog"},
        {"log-out", "X-Cinnamon", ""},
        {"toggle-desktop-icons", "XFCE", "xfconf-query -c xfce4-desktop -p /desktop-icons/style"},
        {"toggle-desktop-icons", "MATE", "gsettings get org.mate.background show-desktop-icons"},
        {"emoji-picker", "KDE", ""},
        {"show-desktop", "KDE",
         "dbus-send --session --print-reply --type=method_call --dest=org.kde.kglobalaccel /component/kwin "
         "org.kde.kglobalaccel.Component.invokeShortcut string:Show Desktop"},
        {"show-desktop", "GNOME", "wmctrl -k on"},
        {"minimize-window", "GNOME", "xdotool getactivewindow windowminimize"},
    };
    installStandIns();
    for (const auto& c : cases) {
        const auto route = systemActionRoute(c.id, c.desktop);
        ASSERT_TRUE(std::holds_alternative<route::Queued>(route)) << c.id;
        const auto [status, noted] = run(std::get<route::Queued>(route));
        EXPECT_EQ(status, 0) << c.id << " on " << c.desktop;
        if (*c.firstNoted) {
            EXPECT_TRUE(noted.starts_with(c.firstNoted)) << c.id << " on " << c.desktop << ": " << noted;
        }
    }
    for (const auto& [desktop, locker] : std::vector<std::pair<const char*, const char*>>{
             {"GNOME", "gdbus call --session --dest org.gnome.ScreenSaver"},
             {"KDE", "loginctl lock-session"},
             {"XFCE", "xflock4"}})
        EXPECT_TRUE(run(lockScreenCommand(desktop)).second.starts_with(locker)) << desktop;

    fs::remove_all(bin);
    fs::create_directories(bin);
    for (const auto& action : SystemAction::all()) {
        const auto route = systemActionRoute(action.id, "GNOME");
        if (const auto* command = std::get_if<route::Queued>(&route)) {
            EXPECT_EQ(run(*command).first, 127) << action.id << " claims success with nothing installed";
        }
    }
    EXPECT_EQ(run(lockScreenCommand("KDE")).first, 127);
}

TEST_F(SystemActionToolsTest, AFailingToolIsNamedOnTheErrorOutput) {
    std::ofstream(bin / "xflock4") << "#!/bin/sh\nexit 1\n";
    fs::permissions(bin / "xflock4", fs::perms::owner_all);
    auto command = lockScreenCommand("XFCE");
    command.arguments.back() += " 2>&1";
    // The record catches what the shell says on its error output.
    command.arguments.at(1) = "exec 2>>\"$RECORD\"; " + command.arguments.at(1);
    EXPECT_EQ(run(command), std::pair(1, std::string("xflock4 failed\n")));
}

// Dark Mode picks a theme that is installed, and the window manager's theme
// with it, on desktops that keep their theme by name.
TEST_F(SystemActionToolsTest, DarkModeSwitchesToAnInstalledDarkThemeAndBack) {
    // Settings tools that keep each value in a file named after its key.
    const auto settingsTool = [&](const std::string& name, const std::string& body) {
        std::ofstream(bin / name) << "#!/bin/sh\n" << body << "\n";
        fs::permissions(bin / name, fs::perms::owner_all);
    };
    settingsTool("xfconf-query", "f=\"$STORE/$2$(echo $4 | tr / _)\"; if [ \"$5\" = -s ]; then echo \"$6\" > "
                                 "\"$f\"; else cat \"$f\"; fi");
    settingsTool("gsettings", "f=\"$STORE/$2.$3\"; if [ \"$1\" = set ]; then echo \"$4\" > \"$f\"; else echo "
                              "\"'$(cat \"$f\")'\"; fi");
    for (const char* real : {"/usr/bin/grep", "/usr/bin/tr", "/usr/bin/cat", "/usr/bin/mkdir"})
        fs::create_symlink(real, bin / fs::path(real).filename());
    const fs::path store = root / "store", home = root / "home", share = root / "share";
    const auto theme = [&](const std::string& name, const std::string& part) {
        fs::create_directories(share / "themes" / name / part);
    };
    const auto set = [&](const std::string& key, const std::string& value) {
        fs::create_directories(store);
        std::ofstream(store / key) << value << "\n";
    };
    const auto get = [&](const std::string& key) {
        std::ifstream in(store / key);
        std::string value;
        std::getline(in, value);
        return value;
    };
    const std::vector<std::string> environment{"HOME=" + home.string(), "STORE=" + store.string(),
                                               "XDG_DATA_DIRS=" + share.string()};
    const auto toggle = [&](const char* desktop) {
        return run(std::get<route::Queued>(systemActionRoute("toggle-dark-mode", desktop)), environment)
            .first;
    };

    // Stock Xfce: its settings name a theme "Xfce" that has no folder (GTK
    // stands in for it), Adwaita's dark theme is installed, the window
    // manager's theme has no dark variant at all.
    theme("Adwaita-dark", "gtk-3.0");
    set("xsettings_Net_ThemeName", "Xfce");
    set("xfwm4_general_theme", "Default");
    EXPECT_EQ(toggle("XFCE"), 0);
    EXPECT_EQ(get("xsettings_Net_ThemeName"), "Adwaita-dark");
    EXPECT_EQ(get("xfwm4_general_theme"), "Default");
    EXPECT_EQ(toggle("XFCE"), 0);
    EXPECT_EQ(get("xsettings_Net_ThemeName"), "Xfce") << "back to the theme it came from";

    // A theme with its own dark variant for both.
    for (const char* part : {"gtk-3.0", "xfwm4"}) {
        theme("Greybird", part);
        theme("Greybird-dark", part);
    }
    set("xsettings_Net_ThemeName", "Greybird");
    set("xfwm4_general_theme", "Greybird");
    EXPECT_EQ(toggle("XFCE"), 0);
    EXPECT_EQ(get("xsettings_Net_ThemeName"), "Greybird-dark");
    EXPECT_EQ(get("xfwm4_general_theme"), "Greybird-dark");
    EXPECT_EQ(toggle("XFCE"), 0);
    EXPECT_EQ(get("xfwm4_general_theme"), "Greybird");

    // Stock MATE: Menta to BlackMATE, the window manager's theme too; with
    // no dark theme installed nothing changes and the switch fails.
    for (const char* dark : {"Adwaita-dark", "Greybird-dark"})
        fs::remove_all(share / "themes" / dark);
    set("org.mate.interface.gtk-theme", "Menta");
    set("org.mate.Marco.general.theme", "Menta");
    EXPECT_NE(toggle("MATE"), 0);
    EXPECT_EQ(get("org.mate.interface.gtk-theme"), "Menta");
    for (const char* part : {"gtk-3.0", "metacity-1"})
        theme("BlackMATE", part);
    EXPECT_EQ(toggle("MATE"), 0);
    EXPECT_EQ(get("org.mate.interface.gtk-theme"), "BlackMATE");
    EXPECT_EQ(get("org.mate.Marco.general.theme"), "BlackMATE");

    // Without its stock dark theme a desktop takes any installed dark one.
    fs::remove_all(share / "themes" / "BlackMATE");
    theme("Nocturne-dark", "gtk-3.0");
    set("org.mate.interface.gtk-theme", "Menta");
    EXPECT_EQ(toggle("MATE"), 0);
    EXPECT_EQ(get("org.mate.interface.gtk-theme"), "Nocturne-dark");
}

// Plasma's colour schemes: back from dark comes the scheme the user had,
// not always Breeze Light.
TEST_F(SystemActionToolsTest, DarkModeOnPlasmaComesBackToTheUsersColourScheme) {
    const fs::path current = root / "scheme";
    // Applies a scheme by its name, lists the schemes marking the current one.
    std::ofstream(bin / "plasma-apply-colorscheme") << R"sh(#!/bin/sh
if [ "$1" != --list-schemes ]; then echo "$1" > "$CURRENT"; exit 0; fi
echo 'You have the following color schemes on your system:'
for s in BreezeClassic BreezeDark BreezeLight; do
    if [ "$s" = "$(cat "$CURRENT")" ]; then echo " * $s (current color scheme)"; else echo " * $s"; fi
done
)sh";
    fs::permissions(bin / "plasma-apply-colorscheme", fs::perms::owner_all);
    for (const char* real : {"/usr/bin/cat", "/usr/bin/mkdir"})
        fs::create_symlink(real, bin / fs::path(real).filename());
    std::ofstream(current) << "BreezeClassic\n";
    const auto toggle = [&] {
        const auto command = std::get<route::Queued>(systemActionRoute("toggle-dark-mode", "KDE"));
        EXPECT_EQ(run(command, {"HOME=" + (root / "home").string(), "CURRENT=" + current.string()}).first, 0);
        std::ifstream in(current);
        std::string scheme;
        std::getline(in, scheme);
        return scheme;
    };
    EXPECT_EQ(toggle(), "BreezeDark");
    EXPECT_EQ(toggle(), "BreezeClassic");
}

} // namespace
} // namespace rondelix
