#include "platform/linux/x11/X11PointerMark.h"

namespace rondelix::platform::linux_desktop {

namespace {

// The server's clock wraps: one time is before another when the difference
// taken modulo 2^32 says so.
bool notAfter(std::uint32_t a, std::uint32_t b) {
    return static_cast<std::int32_t>(a - b) <= 0;
}

} // namespace

void X11PointerMark::keyPressed(std::uint32_t serverTime, int rootX, int rootY) {
    std::lock_guard lock(mutex_);
    mark_ = Mark{serverTime, {rootX, rootY}, std::nullopt};
}

void X11PointerMark::moved(std::uint32_t serverTime) {
    std::lock_guard lock(mutex_);
    if (mark_ && !mark_->firstMove) mark_->firstMove = serverTime;
}

std::optional<std::pair<int, int>> X11PointerMark::at(std::uint32_t serverTime) const {
    std::lock_guard lock(mutex_);
    if (!mark_ || !notAfter(mark_->time, serverTime)) return std::nullopt;
    if (mark_->firstMove && notAfter(*mark_->firstMove, serverTime)) return std::nullopt;
    return mark_->where;
}

} // namespace rondelix::platform::linux_desktop
