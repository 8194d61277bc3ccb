#pragma once

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace rondelix::platform {

// The lines the program logged in the last minutes, kept in memory so that a
// diagnostics report can carry them without asking the system log. Bounded in
// age, in number and in length, however much is logged. Any thread.
class RecentLogRecord {
  public:
    static constexpr double keptSeconds = 600;
    static constexpr std::size_t maxLines = 2000;
    static constexpr std::size_t maxLineBytes = 2048;

    // `now` is monotonic seconds; `line` is the text as the log shows it.
    void add(double now, std::string line);
    // The lines logged since `now - seconds`, oldest first.
    std::vector<std::string> since(double now, double seconds) const;

  private:
    struct Entry {
        double time;
        std::string line;
    };

    mutable std::mutex lock_;
    std::deque<Entry> entries_;
};

} // namespace rondelix::platform
