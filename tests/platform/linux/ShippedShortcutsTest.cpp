#include "BlockingMainQueue.h"
#include "platform/linux/process/PosixProcesses.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {
namespace {

namespace fs = std::filesystem;

// The automations the program ships, run against stand-ins for the desktop
// tools that record how they were called, with nothing else on the path but
// the few basic tools the scripts use.
class ShippedShortcuts : public ::testing::Test {
  protected:
    fs::path shipped = fs::path(RONDELIX_SOURCE_DATA_DIR) / "shortcuts";
    fs::path stubs = fs::temp_directory_path() / ("rondelix-stubs-" + std::to_string(::getpid()));
    std::string savedPath = std::getenv("PATH");
    BlockingMainQueue queue;
    PosixProcesses processes{queue};

    void SetUp() override {
        fs::create_directories(stubs);
        for (const char* basic : {"grep", "tr", "date", "cat", "awk", "sleep"})
            fs::create_symlink(fs::path("/usr/bin") / basic, stubs / basic);
        // Each answers a query with the state the test sets.
        for (const char* tool : {"gsettings", "bluetoothctl", "rfkill", "xfconf-query", "kreadconfig5",
                                 "kwriteconfig5", "dbus-send"})
            stub(tool,
                 std::string("echo \"") + tool +
                     " $*\" >> \"$STUB_LOG\"; case \"$1\" in get|show|list|--file) cat \"$STUB_STATE\";; "
                     "esac; exit 0");
        // KDE's bus answers a property read with the value the test sets.
        stub("gdbus", "echo \"gdbus $1 $2\" >> \"$STUB_LOG\"; [ \"$1\" = call ] && echo \"(<$(cat "
                      "\"$STUB_BUS\")>,)\"; exit 0");
        ::setenv("PATH", stubs.c_str(), 1);
        ::setenv("STUB_BUS", (stubs / "bus").c_str(), 1);
        ::setenv("STUB_LOG", (stubs / "log").c_str(), 1);
        ::setenv("STUB_STATE", (stubs / "state").c_str(), 1);
    }
    void TearDown() override {
        ::setenv("PATH", savedPath.c_str(), 1);
        ::unsetenv("XDG_CURRENT_DESKTOP");
        fs::remove_all(stubs);
    }

    void stub(const std::string& name, const std::string& body) {
        std::ofstream(stubs / name) << "#!/bin/sh\n" << body << "\n";
        fs::permissions(stubs / name, fs::perms::owner_all);
    }
    // Runs the automation on the desktop with the tools answering `state`;
    // returns the exit status and the calls the tools saw.
    std::pair<int, std::string> run(const std::string& name, const std::string& desktop,
                                    const std::string& state, const std::string& bus = "") {
        ::setenv("XDG_CURRENT_DESKTOP", desktop.c_str(), 1);
        std::ofstream(stubs / "state") << state << "\n";
        std::ofstream(stubs / "bus") << bus << "\n";
        fs::remove(stubs / "log");
        ProcessRequest request;
        request.program = (shipped / name).string();
        int status = -1;
        processes.run(request,
                      [&](const ProcessResult& result) { status = result.launched ? result.status : -1; });
        EXPECT_TRUE(queue.runNext());
        std::ostringstream calls;
        calls << std::ifstream(stubs / "log").rdbuf();
        return {status, calls.str()};
    }
};

TEST_F(ShippedShortcuts, EachFlipsTheRunningDesktopsOwnSettingAndFailsWhereItHasNone) {
    struct Case {
        const char* name;
        const char* desktop;
        const char* state;
        int status;
        std::string calls;
        std::string bus = ""; // what the desktop's bus answers
    };
    const std::string banners = "org.gnome.desktop.notifications show-banners";
    const std::string nightLight = "org.gnome.settings-daemon.plugins.color night-light-enabled";
    const std::string kdeDnd = "kreadconfig5 --file plasmanotifyrc --group DoNotDisturb --key Until\n"
                               "kwriteconfig5 --file plasmanotifyrc --group DoNotDisturb --key Until";
    // Told of the change, then asked whether it took.
    const std::string toldAndAsked = "gdbus emit --session\ngdbus call --session\n";
    const Case cases[] = {
        {"Toggle Do Not Disturb", "GNOME", "true", 0,
         "gsettings get " + banners + "\ngsettings set " + banners + " false\n"},
        {"Toggle Do Not Disturb", "ubuntu:GNOME", "false", 0,
         "gsettings get " + banners + "\ngsettings set " + banners + " true\n"},
        {"Toggle Do Not Disturb", "MATE", "false", 0,
         "gsettings get org.mate.NotificationDaemon do-not-disturb\n"
         "gsettings set org.mate.NotificationDaemon do-not-disturb true\n"},
        {"Toggle Do Not Disturb", "X-Cinnamon", "true", 0,
         "gsettings get org.cinnamon.desktop.notifications display-notifications\n"
         "gsettings set org.cinnamon.desktop.notifications display-notifications false\n"},
        {"Toggle Do Not Disturb", "XFCE", "", 0, "xfconf-query -c xfce4-notifyd -p /do-not-disturb -T\n"},
        {"Toggle Do Not Disturb", "KDE", "", 0, kdeDnd + " 2099,12,31,23,59,59\n" + toldAndAsked, "true"},
        {"Toggle Do Not Disturb", "KDE", "2099,12,31,23,59,59", 0, kdeDnd + " --delete\n" + toldAndAsked,
         "false"},
        // A time already past, in the form earlier versions wrote.
        {"Toggle Do Not Disturb", "KDE", "2001-02-03T04:05:06", 0,
         kdeDnd + " 2099,12,31,23,59,59\n" + toldAndAsked, "true"},
        {"Toggle Do Not Disturb", "LXQt", "true", 1, ""},
        {"Toggle Night Light", "GNOME", "true", 0,
         "gsettings get " + nightLight + "\ngsettings set " + nightLight + " false\n"},
        {"Toggle Night Light", "KDE", "true", 0,
         "kreadconfig5 --file kwinrc --group NightColor --key Active\n"
         "kwriteconfig5 --file kwinrc --group NightColor --key Active --type bool false\n" +
             toldAndAsked,
         "false"},
        {"Toggle Night Light", "XFCE", "true", 1, ""},
        {"Toggle Night Light", "MATE", "true", 1, ""},
        {"Toggle Bluetooth", "XFCE", "\tPowered: yes", 0, "bluetoothctl show\nbluetoothctl power off\n"},
        {"Toggle Bluetooth", "KDE", "\tPowered: no", 0, "bluetoothctl show\nbluetoothctl power on\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(run(c.name, c.desktop, c.state, c.bus), std::pair(c.status, c.calls))
            << c.name << " on " << c.desktop;
}

// A setting written but not taken up by the desktop is a failure, not a
// silent success.
TEST_F(ShippedShortcuts, KdeSettingsThePlasmaSessionDoesNotTakeUpFail) {
    EXPECT_EQ(run("Toggle Night Light", "KDE", "false", "false").first, 1);
    EXPECT_EQ(run("Toggle Do Not Disturb", "KDE", "", "false").first, 1);
}

TEST_F(ShippedShortcuts, BluetoothFallsBackToTheRadioSwitchAndSaysWhenNeitherIsThere) {
    fs::remove(stubs / "bluetoothctl");
    EXPECT_EQ(
        run("Toggle Bluetooth", "MATE", "0: hci0: Bluetooth\n\tSoft blocked: no"),
        std::pair(0, std::string("rfkill list bluetooth\nrfkill list bluetooth\nrfkill block bluetooth\n")));
    EXPECT_EQ(run("Toggle Bluetooth", "MATE", "0: hci0: Bluetooth\n\tSoft blocked: yes").second,
              "rfkill list bluetooth\nrfkill list bluetooth\nrfkill unblock bluetooth\n");
    EXPECT_EQ(run("Toggle Bluetooth", "MATE", "").first, 1) << "no adapter";
    fs::remove(stubs / "rfkill");
    EXPECT_EQ(run("Toggle Bluetooth", "MATE", "0: hci0: Bluetooth").first, 127);
}

} // namespace
} // namespace rondelix::platform::linux_desktop
