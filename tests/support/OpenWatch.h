// Opens (and reads) in one folder, seen through inotify from when the watch
// is made: how a test tells that nothing touched a file it baited.

#pragma once

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>

namespace rondelix::testsupport {

struct OpenWatch {
    explicit OpenWatch(const std::filesystem::path& folder, std::uint32_t events = IN_OPEN | IN_ACCESS)
        : fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        // Both fail when other programs of the user hold all the instances
        // or watches the system allows, which a busy machine can run out of.
        if (fd < 0) {
            problem = std::string("no inotify instance to watch ") + folder.string() + " with (" +
                      std::strerror(errno) +
                      "): the user's programs hold all that sysctl fs.inotify.max_user_instances allows";
            return;
        }
        if (::inotify_add_watch(fd, folder.c_str(), events) < 0) {
            problem = std::string("no inotify watch on ") + folder.string() + " (" + std::strerror(errno) +
                      "): the user's programs hold all that sysctl fs.inotify.max_user_watches allows";
            ::close(fd);
            fd = -1;
        }
    }
    ~OpenWatch() {
        if (fd >= 0) ::close(fd);
    }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;

    bool watching() const { return fd >= 0; }
    // Whether anything was opened or read there since the watch began.
    bool touched() const {
        char buffer[4096];
        return ::read(fd, buffer, sizeof buffer) > 0;
    }

    int fd;
    // What the machine lacked when it could not watch.
    std::string problem;
};

} // namespace rondelix::testsupport
