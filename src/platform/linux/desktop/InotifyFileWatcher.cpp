#include "platform/linux/desktop/InotifyFileWatcher.h"

#include <QSocketNotifier>
#include <cerrno>
#include <sys/inotify.h>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {

namespace {

constexpr std::uint32_t watchedEvents = IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
constexpr std::uint32_t replacingEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED;

} // namespace

InotifyFileWatcher::InotifyFileWatcher() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_ < 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readEvents(); });
}

InotifyFileWatcher::~InotifyFileWatcher() {
    notifier_.reset();
    if (fd_ >= 0) ::close(fd_);
}

bool InotifyFileWatcher::arm(const std::filesystem::path& file, Handler onChange) {
    disarm();
    if (fd_ < 0) return false;
    const int watch = inotify_add_watch(fd_, file.c_str(), watchedEvents);
    if (watch < 0) return false;
    watch_ = watch;
    handler_ = std::move(onChange);
    return true;
}

void InotifyFileWatcher::disarm() {
    if (watch_ >= 0) inotify_rm_watch(fd_, watch_);
    watch_ = -1;
    handler_ = nullptr;
}

void InotifyFileWatcher::readEvents() {
    alignas(inotify_event) char buffer[4096];
    bool modified = false;
    bool replaced = false;
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        for (ssize_t offset = 0; offset < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            // Events of a watch dropped by re-arming are stale.
            if (event->wd != watch_) continue;
            if (event->mask & replacingEvents)
                replaced = true;
            else
                modified = true;
        }
    }
    if (!handler_ || (!modified && !replaced)) return;
    // The handler may re-arm, which replaces handler_ while it runs.
    const Handler handler = handler_;
    handler(replaced ? Change::replaced : Change::modified);
}

} // namespace rondelix::platform::linux_desktop
