#pragma once

#include "platform/FileWatcher.h"

#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

namespace rondelix::platform {
class Log;
}

namespace rondelix::platform::linux_desktop {

// Watches whatever file bears one name, through an inotify watch on its
// folder, so that the watch follows the name across every rename over it;
// notices arrive on Qt's event loop of the thread that built the watcher. The user's other programs may hold
// every instance the system allows for a while: until one is had, each arming asks again, and the first
// failure is logged.
class InotifyFileWatcher final : public FileWatcher {
  public:
    // Makes an inotify instance as inotify_init1 does: its descriptor, or -1
    // with errno set. Tests stand in for it.
    using InstanceMaker = std::function<int()>;
    static int newInstance();

    explicit InotifyFileWatcher(Log& log, InstanceMaker makeInstance = &newInstance);
    ~InotifyFileWatcher() override;
    InotifyFileWatcher(const InotifyFileWatcher&) = delete;
    InotifyFileWatcher& operator=(const InotifyFileWatcher&) = delete;

    bool arm(const std::filesystem::path& file, Handler onChange) override;
    void disarm() override;

  private:
    // False, logging why once, while no instance can be had.
    bool haveInstance(const std::filesystem::path& file);
    // Logs the first of a run of failures; a success ends the run.
    void reportOnce(const std::string& problem);
    void readEvents();

    Log& log_;
    const InstanceMaker makeInstance_;
    int fd_ = -1;
    int watch_ = -1;
    std::string name_;
    bool reported_ = false;
    Handler handler_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace rondelix::platform::linux_desktop
