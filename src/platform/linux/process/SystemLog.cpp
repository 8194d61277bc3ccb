#include "platform/linux/process/SystemLog.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <syslog.h>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {

namespace {

double uptime() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// "2026-12-07 09:30:01.123", as the system log's compact style stamps a line.
std::string localStamp() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    char stamped[48];
    std::snprintf(stamped, sizeof stamped, "%.*s.%03d", static_cast<int>(length), text,
                  static_cast<int>(millis));
    return stamped;
}

// Under a service manager standard error may be a stream into the journal;
// it says which one in JOURNAL_STREAM as "device:inode".
bool standardErrorIsJournal() {
    const char* stream = std::getenv("JOURNAL_STREAM");
    struct stat info {};
    if (!stream || !*stream || ::fstat(STDERR_FILENO, &info) != 0) return false;
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino) == stream;
}

} // namespace

SystemLog::SystemLog(bool verbose)
    : toJournal_(standardErrorIsJournal()), echo_(!toJournal_ && (verbose || ::isatty(STDERR_FILENO) != 1)) {
    openlog("rondelix", LOG_PID, LOG_USER);
}

SystemLog::~SystemLog() {
    closelog();
}

void SystemLog::write(std::string_view message) {
    const std::string line = std::string(prefix) + std::string(message);
    syslog(LOG_NOTICE, "%s", line.c_str());
    if (echo_) std::fprintf(stderr, "%s\n", line.c_str());
    record_.add(uptime(), localStamp() + " " + line);
}

void SystemLog::tell(std::string_view message) {
    write(message);
    if (!echo_ && !toJournal_)
        std::fprintf(stderr, "%s%.*s\n", std::string(prefix).c_str(), static_cast<int>(message.size()),
                     message.data());
}

std::vector<std::string> SystemLog::recentLines(double seconds) const {
    return record_.since(uptime(), seconds);
}

} // namespace rondelix::platform::linux_desktop
