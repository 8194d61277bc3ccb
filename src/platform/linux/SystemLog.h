#pragma once

#include "platform/Log.h"
#include "platform/RecentLogRecord.h"

namespace rondelix::platform::linux_desktop {

// Writes each line to syslog and to standard error, and keeps the last ten
// minutes of lines, stamped with the local time, for the diagnostics report.
class SystemLog final : public Log {
  public:
    SystemLog();
    ~SystemLog() override;
    void write(std::string_view message) override;
    std::vector<std::string> recentLines(double seconds) const override;

  private:
    RecentLogRecord record_;
};

} // namespace rondelix::platform::linux_desktop
