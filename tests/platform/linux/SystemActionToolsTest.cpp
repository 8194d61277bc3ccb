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
                                            "xdg-screensaver"};

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
    std::pair<int, std::string> run(const route::Queued& command) {
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
        char* envp[] = {path.data(), recordVariable.data(), nullptr};
        pid_t child = 0;
        if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), envp) != 0) return {-1, ""};
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
        {"toggle-dark-mode", "XFCE", "xfconf-query -c xsettings -p /Net/ThemeName"},
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

} // namespace
} // namespace rondelix
