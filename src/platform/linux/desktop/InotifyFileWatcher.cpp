#include "platform/linux/desktop/InotifyFileWatcher.h"

#include "platform/Log.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <string>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace rondelix::platform::linux_desktop {

namespace {

// The folder is watched, not the file: a watch on the file stays with it
// when it is renamed away, as a save's backup is, while the name takes another.
constexpr std::uint32_t watchedEvents = IN_MODIFY | IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM |
                                        IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
// The name now holds another file, or none.
constexpr std::uint32_t replacingName = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
// The folder itself went: its path may now hold another, or none.
constexpr std::uint32_t replacingFolder = IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED;

// Why inotify refused, for the log: the error and, where it means that the
// user's programs hold all the system allows, which limit that is.
std::string refusal(const std::string& what, int error, int limitError, const char* limit) {
    std::string text = what + " (" + std::strerror(error) + ")";
    if (error == limitError)
        text += std::string(": the user's programs hold all that sysctl ") + limit + " allows";
    return text;
}

} // namespace

int InotifyFileWatcher::newInstance() {
    return inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
}

InotifyFileWatcher::InotifyFileWatcher(Log& log, InstanceMaker makeInstance)
    : log_(log), makeInstance_(std::move(makeInstance)) {}

InotifyFileWatcher::~InotifyFileWatcher() {
    notifier_.reset();
    if (fd_ >= 0) ::close(fd_);
}

bool InotifyFileWatcher::arm(const std::filesystem::path& file, Handler onChange) {
    // A file kept elsewhere through a link is watched where it lies.
    std::error_code ec;
    std::filesystem::path target = std::filesystem::weakly_canonical(file, ec);
    if (ec) target = file;
    // A missing file is the ordinary wait for it to come back.
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0 || !haveInstance(file)) {
        disarm();
        return false;
    }
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    // Arming again on the same folder keeps its watch, so that no notice is
    // lost between dropping one watch and adding the next.
    const int watch = inotify_add_watch(fd_, folder.c_str(), watchedEvents);
    if (watch < 0) {
        const int error = errno;
        disarm();
        if (error != ENOENT)
            reportOnce(refusal("no inotify watch on " + folder.string(), error, ENOSPC,
                               "fs.inotify.max_user_watches"));
        return false;
    }
    if (watch_ >= 0 && watch_ != watch) inotify_rm_watch(fd_, watch_);
    watch_ = watch;
    name_ = target.filename().string();
    handler_ = std::move(onChange);
    reported_ = false;
    return true;
}

bool InotifyFileWatcher::haveInstance(const std::filesystem::path& file) {
    if (fd_ >= 0) return true;
    fd_ = makeInstance_();
    if (fd_ < 0) {
        const int error = errno;
        reportOnce(refusal("no inotify instance to watch " + file.string() + " with", error, EMFILE,
                           "fs.inotify.max_user_instances"));
        return false;
    }
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readEvents(); });
    return true;
}

void InotifyFileWatcher::reportOnce(const std::string& problem) {
    if (std::exchange(reported_, true)) return;
    log_.write(problem + " — asking again while the program runs.");
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
            if (event->mask & replacingFolder) {
                replaced = true;
            } else if (event->len > 0 && name_ == event->name) {
                if (event->mask & replacingName)
                    replaced = true;
                else
                    modified = true;
            }
        }
    }
    if (!handler_ || (!modified && !replaced)) return;
    // The handler may re-arm, which replaces handler_ while it runs.
    const Handler handler = handler_;
    handler(replaced ? Change::replaced : Change::modified);
}

} // namespace rondelix::platform::linux_desktop
