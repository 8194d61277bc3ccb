// A session bus configuration that starts no service on demand: the desktop
// packages installed on a developer's machine (a settings portal, a
// notification daemon) would otherwise answer on a test's private bus in
// place of the stand-ins the test runs, or where the test wants no answer.

#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace rondelix::testing {

// The argument that gives dbus-daemon this configuration, written once per
// test process into a folder of its own, where the buses' sockets lie too:
// the folder goes at the process's exit, and with it any socket a killed bus
// left behind.
inline std::string isolatedBusConfigArgument() {
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("rondelix-test-bus-" + std::to_string(::getpid()));
    static const std::filesystem::path file = folder / "session.conf";
    static const bool written = [] {
        std::filesystem::create_directories(folder);
        std::ofstream(file, std::ios::trunc)
            << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
               " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
               "<busconfig>\n"
               "  <type>session</type>\n"
               "  <listen>unix:dir=" +
                   folder.string() +
                   "</listen>\n"
                   "  <policy context=\"default\">\n"
                   "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                   "    <allow eavesdrop=\"true\"/>\n"
                   "    <allow own=\"*\"/>\n"
                   "  </policy>\n"
                   "</busconfig>\n";
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return true;
    }();
    (void)written;
    return "--config-file=" + file.string();
}

} // namespace rondelix::testing
