#include "platform/linux/process/ClosableMainQueue.h"

#include <limits>

namespace rondelix::platform::linux_desktop {

void ClosableMainQueue::post(std::function<void()> fn) {
    {
        std::lock_guard guard(lock_);
        if (queue_) {
            queue_->post(std::move(fn));
            return;
        }
    }
    // Dropped outside the lock: what the step holds may take a while to let go.
    fn = nullptr;
}

Cancel ClosableMainQueue::after(double seconds, std::function<void()> fn) {
    std::lock_guard guard(lock_);
    if (queue_) return queue_->after(seconds, std::move(fn));
    return Cancel(std::make_shared<bool>(true));
}

double ClosableMainQueue::now() const {
    std::lock_guard guard(lock_);
    return queue_ ? queue_->now() : std::numeric_limits<double>::infinity();
}

void ClosableMainQueue::close() {
    std::lock_guard guard(lock_);
    queue_ = nullptr;
}

} // namespace rondelix::platform::linux_desktop
