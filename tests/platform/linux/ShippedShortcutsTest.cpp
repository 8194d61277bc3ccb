#include "BlockingMainQueue.h"
#include "platform/linux/PosixProcesses.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {
namespace {

namespace fs = std::filesystem;

// The automations the program ships, run against stand-ins for the desktop
// tools that record how they were called.
class ShippedShortcuts : public ::testing::Test {
  protected:
    fs::path shipped = fs::path(RONDELIX_SOURCE_DATA_DIR) / "shortcuts";
    fs::path stubs = fs::temp_directory_path() / ("rondelix-stubs-" + std::to_string(::getpid()));
    std::string savedPath = std::getenv("PATH");
    BlockingMainQueue queue;
    PosixProcesses processes{queue};

    void SetUp() override {
        fs::create_directories(stubs);
        stub("gsettings", "echo \"$*\" >> \"$STUB_LOG\"; [ \"$1\" = get ] && cat \"$STUB_STATE\"; exit 0");
        stub("bluetoothctl",
             "echo \"$*\" >> \"$STUB_LOG\"; [ \"$1\" = show ] && cat \"$STUB_STATE\"; exit 0");
        ::setenv("PATH", (stubs.string() + ":/usr/bin:/bin").c_str(), 1);
        ::setenv("STUB_LOG", (stubs / "log").c_str(), 1);
        ::setenv("STUB_STATE", (stubs / "state").c_str(), 1);
    }
    void TearDown() override {
        ::setenv("PATH", savedPath.c_str(), 1);
        fs::remove_all(stubs);
    }

    void stub(const std::string& name, const std::string& body) {
        std::ofstream(stubs / name) << "#!/bin/sh\n" << body << "\n";
        fs::permissions(stubs / name, fs::perms::owner_all);
    }
    // Runs the automation with the tool answering `state`; returns the exit
    // status and the calls the tool saw.
    std::pair<int, std::string> run(const std::string& name, const std::string& state) {
        std::ofstream(stubs / "state") << state << "\n";
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

TEST_F(ShippedShortcuts, FocusFlipsTheNotificationBanners) {
    const std::string key = "org.gnome.desktop.notifications show-banners";
    EXPECT_EQ(run("Toggle Focus", "true"), std::pair(0, "get " + key + "\nset " + key + " false\n"));
    EXPECT_EQ(run("Toggle Focus", "false"), std::pair(0, "get " + key + "\nset " + key + " true\n"));
}

TEST_F(ShippedShortcuts, NightShiftFlipsTheNightLight) {
    const std::string key = "org.gnome.settings-daemon.plugins.color night-light-enabled";
    EXPECT_EQ(run("Toggle Night Shift", "true"), std::pair(0, "get " + key + "\nset " + key + " false\n"));
    EXPECT_EQ(run("Toggle Night Shift", "false"), std::pair(0, "get " + key + "\nset " + key + " true\n"));
}

TEST_F(ShippedShortcuts, BluetoothFlipsThePower) {
    EXPECT_EQ(run("Toggle Bluetooth", "\tPowered: yes"), std::pair(0, std::string("show\npower off\n")));
    EXPECT_EQ(run("Toggle Bluetooth", "\tPowered: no"), std::pair(0, std::string("show\npower on\n")));
}

TEST_F(ShippedShortcuts, ADesktopWithoutTheSettingFails) {
    stub("gsettings", "exit 1");
    EXPECT_NE(run("Toggle Night Shift", "").first, 0);
}

} // namespace
} // namespace rondelix::platform::linux_desktop
