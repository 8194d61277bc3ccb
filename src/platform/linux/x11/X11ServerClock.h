#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <optional>

namespace rondelix::platform::linux_desktop {

// The X server stamps every event with its own time: milliseconds in 32 bits,
// which wrap about every 49.7 days, on a clock that may be another
// machine's. This maps those stamps onto the program's steady clock. The
// smallest gap seen between an event's stamp and the moment it was read is
// taken as the offset of the two clocks, the quickest delivery having taken
// next to no time; so that a server clock running slower than ours does not
// leave it behind, the offset may rise by a millisecond a second between
// events.
class X11ServerClock {
  public:
    // Reader thread: an event stamped `serverMs` was read at `readAt` (steady
    // seconds). Answers when it happened, in steady seconds; never later
    // than it was read.
    double heard(std::uint32_t serverMs, double readAt);

    // Any thread: the server's stamp for a moment of the steady clock; none
    // before the first event was heard.
    std::optional<std::uint32_t> serverTime(double at) const;

  private:
    static constexpr double driftAllowance = 0.001;

    std::int64_t unwrapped(std::uint32_t serverMs);

    // Reader thread.
    bool heardAny_ = false;
    std::uint32_t latest_ = 0;
    std::int64_t latestUnwrapped_ = 0;
    double latestReadAt_ = 0;
    // Steady seconds minus the server's seconds since its count began.
    std::atomic<double> offset_{std::numeric_limits<double>::quiet_NaN()};
};

} // namespace rondelix::platform::linux_desktop
