#pragma once

#include "platform/FileWatcher.h"

#include <memory>

class QSocketNotifier;

namespace rondelix::platform::linux_desktop {

// Watches one file through inotify; notices arrive on Qt's event loop of the
// thread that built the watcher.
class InotifyFileWatcher final : public FileWatcher {
  public:
    InotifyFileWatcher();
    ~InotifyFileWatcher() override;
    InotifyFileWatcher(const InotifyFileWatcher&) = delete;
    InotifyFileWatcher& operator=(const InotifyFileWatcher&) = delete;

    bool arm(const std::filesystem::path& file, Handler onChange) override;
    void disarm() override;

  private:
    void readEvents();

    int fd_ = -1;
    int watch_ = -1;
    Handler handler_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace rondelix::platform::linux_desktop
