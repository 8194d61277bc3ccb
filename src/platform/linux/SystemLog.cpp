#include "platform/linux/SystemLog.h"

#include <cstdio>
#include <string>
#include <syslog.h>

namespace rondelix::platform::linux_desktop {

SystemLog::SystemLog() {
    openlog("rondelix", LOG_PID, LOG_USER);
}

SystemLog::~SystemLog() {
    closelog();
}

void SystemLog::write(std::string_view message) {
    const std::string line = std::string(prefix) + std::string(message);
    syslog(LOG_NOTICE, "%s", line.c_str());
    std::fprintf(stderr, "%s\n", line.c_str());
}

} // namespace rondelix::platform::linux_desktop
