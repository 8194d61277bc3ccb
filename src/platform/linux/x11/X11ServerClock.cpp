#include "platform/linux/x11/X11ServerClock.h"

#include <algorithm>
#include <cmath>

namespace rondelix::platform::linux_desktop {

std::int64_t X11ServerClock::unwrapped(std::uint32_t serverMs) {
    if (!heardAny_) {
        heardAny_ = true;
        latest_ = serverMs;
        latestUnwrapped_ = serverMs;
    }
    // The difference taken modulo 2^32 stays right across a wrap, and an
    // event a little older than the latest one keeps its place before it.
    const auto step = static_cast<std::int32_t>(serverMs - latest_);
    const std::int64_t value = latestUnwrapped_ + step;
    if (step > 0) {
        latest_ = serverMs;
        latestUnwrapped_ = value;
    }
    return value;
}

double X11ServerClock::heard(std::uint32_t serverMs, double readAt) {
    const double stamp = static_cast<double>(unwrapped(serverMs)) / 1000.0;
    const double gap = readAt - stamp;
    double offset = offset_.load();
    if (std::isnan(offset))
        offset = gap;
    else
        offset = std::min(gap, offset + driftAllowance * std::max(0.0, readAt - latestReadAt_));
    latestReadAt_ = readAt;
    offset_.store(offset);
    return stamp + offset;
}

std::optional<std::uint32_t> X11ServerClock::serverTime(double at) const {
    const double offset = offset_.load();
    if (std::isnan(offset)) return std::nullopt;
    // Taken modulo 2^32, as the server counts.
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(std::llround((at - offset) * 1000.0)));
}

} // namespace rondelix::platform::linux_desktop
