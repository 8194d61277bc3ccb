#include "platform/linux/process/FirstLane.h"

namespace rondelix::platform::linux_desktop {

void FirstLane::add(std::function<void()> step) {
    std::lock_guard guard(lock_);
    steps_.push_back(std::move(step));
}

void FirstLane::runAll() {
    for (;;) {
        std::function<void()> step;
        {
            std::lock_guard guard(lock_);
            if (steps_.empty()) return;
            step = std::move(steps_.front());
            steps_.pop_front();
        }
        // Outside the lock: a step may add another.
        step();
    }
}

} // namespace rondelix::platform::linux_desktop
