#include "platform/linux/process/ConfigWriterLock.h"

#include "files/FileAccess.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {

namespace {

constexpr int retryStepMs = 20;

// The holder writes its process number into the file, for a start that
// gives up waiting to name it; one it cannot write stays unnamed.
void noteHolder(int fd) {
    const std::string process = std::to_string(::getpid());
    if (::ftruncate(fd, 0) != 0) return;
    [[maybe_unused]] const auto written = ::pwrite(fd, process.data(), process.size(), 0);
}

int readHolder(int fd) {
    char text[16];
    const ssize_t got = ::pread(fd, text, sizeof text, 0);
    int process = 0;
    if (got > 0) std::from_chars(text, text + got, process);
    return process;
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
    if (fd_ < 0) return fail(file_.string() + ": " + std::generic_category().message(errno));
    const auto start = std::chrono::steady_clock::now();
    bool told = false;
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
            noteHolder(fd_);
            return Taken::taken;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            return fail(file_.string() + ": " + std::generic_category().message(errno));
        const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (waited >= giveUpAfter) {
            holder_ = readHolder(fd_);
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

} // namespace rondelix::platform::linux_desktop
