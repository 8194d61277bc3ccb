#pragma once

#include "platform/Log.h"
#include "platform/RecentLogRecord.h"

#include <string_view>

namespace rondelix::platform::linux_desktop {

// Writes each line to syslog, and to standard error as well when the program
// was started with --verbose or its standard error is not a terminal (a file,
// a pipe, a test harness) — unless that is the journal, which has the line from
// syslog already. Keeps the last ten minutes of lines, stamped with the local
// time, for the diagnostics report.
class SystemLog final : public Log {
  public:
    explicit SystemLog(bool verbose);
    ~SystemLog() override;
    void write(std::string_view message) override;
    std::vector<std::string> recentLines(double seconds) const override;

    // A line the person who started the program must see, such as why it
    // cannot start: logged, and on standard error exactly once.
    void tell(std::string_view message);

  private:
    bool toJournal_; // standard error is the journal
    bool echo_;
    RecentLogRecord record_;
};

} // namespace rondelix::platform::linux_desktop
