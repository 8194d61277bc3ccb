#include "platform/linux/process/DrawerQueue.h"

#include <utility>

namespace rondelix::platform::linux_desktop {

DrawerQueue::Turn::Turn(Turn&& other) noexcept
    : queue_(std::exchange(other.queue_, nullptr)), turn_(other.turn_), left_(other.left_),
      seconds_(other.seconds_) {}

DrawerQueue::Turn::~Turn() {
    if (queue_) queue_->end(turn_, seconds_);
}

std::optional<DrawerQueue::Turn> DrawerQueue::take(std::shared_ptr<FairTurns::Account> account) {
    std::unique_lock guard(lock_);
    if (closed_) return std::nullopt;
    const auto turn = turns_.ask(std::move(account));
    if (!turn) return std::nullopt;
    changed_.wait(guard, [&] { return closed_ || turns_.running(*turn); });
    if (closed_) {
        turns_.end(*turn, 0);
        return std::nullopt;
    }
    return Turn(*this, *turn, turns_.secondsLeft(*turn));
}

void DrawerQueue::end(FairTurns::Turn turn, double seconds) {
    {
        std::lock_guard guard(lock_);
        turns_.end(turn, seconds);
    }
    // Each waiting caller looks whether its own turn came.
    changed_.notify_all();
}

void DrawerQueue::close() {
    {
        std::lock_guard guard(lock_);
        closed_ = true;
    }
    changed_.notify_all();
}

} // namespace rondelix::platform::linux_desktop
