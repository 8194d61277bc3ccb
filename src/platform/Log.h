#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rondelix::platform {

// One line to the system log. Implementations prefix every line with
// "Rondelix: ", so callers pass the message alone.
class Log {
  public:
    static constexpr std::string_view prefix = "Rondelix: ";

    virtual ~Log() = default;
    virtual void write(std::string_view message) = 0;

    // The lines written in the last `seconds`, oldest first, as the log shows
    // them; for the diagnostics report. A log that keeps no record has none.
    virtual std::vector<std::string> recentLines(double seconds) const {
        (void)seconds;
        return {};
    }
};

} // namespace rondelix::platform
