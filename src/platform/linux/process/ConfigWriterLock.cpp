#include "platform/linux/process/ConfigWriterLock.h"

#include "files/FileAccess.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {

namespace {

constexpr int retryStepMs = 20;
constexpr std::string_view running = "running", quitting = "quitting";

// "<process> <state>\n", written whole over what was there; one it cannot
// write stays unnamed.
void noteHolder(int fd, std::string_view state) {
    const std::string record = std::to_string(::getpid()) + " " + std::string(state) + "\n";
    if (::ftruncate(fd, 0) != 0) return;
    [[maybe_unused]] const auto written = ::pwrite(fd, record.data(), record.size(), 0);
}

struct Holder {
    int process = 0;
    bool running = false;
};

// What the holder wrote; a holder caught writing, or a build that wrote its
// process alone, is not known to be running.
Holder readHolder(int fd) {
    char text[32];
    const ssize_t got = ::pread(fd, text, sizeof text, 0);
    if (got <= 0) return {};
    const std::string_view record(text, static_cast<std::size_t>(got));
    Holder holder;
    const auto parsed = std::from_chars(record.data(), record.data() + record.size(), holder.process);
    const std::string_view rest = record.substr(static_cast<std::size_t>(parsed.ptr - record.data()));
    holder.running = rest.starts_with(" " + std::string(running) + "\n");
    return holder;
}

std::string describe(const std::filesystem::path& file, int error) {
    return file.string() + ": " + std::generic_category().message(error);
}

} // namespace

ConfigWriterLock::ConfigWriterLock(const std::filesystem::path& configFolder)
    : file_(configFolder / "config.json.lock") {}

ConfigWriterLock::~ConfigWriterLock() {
    close();
}

void ConfigWriterLock::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

ConfigWriterLock::Taken ConfigWriterLock::take(double noticeAfter, double giveUpAfter,
                                               const std::function<void()>& onWaiting) {
    const auto fail = [this](const std::string& why) {
        failure_ = why;
        close();
        return Taken::unavailable;
    };
    if (const auto error = makePrivateFolders(file_.parent_path()))
        return fail(file_.parent_path().string() + ": " + error.message());
    fd_ = ::open(file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    writable_ = fd_ >= 0;
    if (!writable_ && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        // flock needs no write access: a file that may only be read locks as well.
        const int refused = errno;
        fd_ = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd_ < 0) return fail(describe(file_, refused));
    }
    if (fd_ < 0) return fail(describe(file_, errno));
    const auto start = std::chrono::steady_clock::now();
    bool told = false;
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            if (writable_) noteHolder(fd_, running);
            return Taken::taken;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) return fail(describe(file_, errno));
        // Where this process may not write the file, neither could the
        // holder: what it holds may be a word of an earlier holder.
        const Holder holding = writable_ ? readHolder(fd_) : Holder{};
        if (holding.running) {
            holder_ = holding.process;
            close();
            return Taken::runningElsewhere;
        }
        const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (waited >= giveUpAfter) {
            holder_ = holding.process;
            close();
            return Taken::stillHeld;
        }
        if (!told && waited >= noticeAfter) {
            told = true;
            if (onWaiting) onWaiting();
        }
        ::poll(nullptr, 0, retryStepMs);
    }
}

void ConfigWriterLock::noteQuitting() {
    if (fd_ >= 0 && writable_) noteHolder(fd_, quitting);
}

} // namespace rondelix::platform::linux_desktop
