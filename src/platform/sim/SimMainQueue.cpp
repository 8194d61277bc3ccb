#include "platform/sim/SimMainQueue.h"

#include <algorithm>

namespace rondelix::platform::sim {

void SimMainQueue::post(std::function<void()> fn) {
    std::lock_guard lock(mutex_);
    items_.push_back({now_, nextOrder_++, std::move(fn), std::make_shared<bool>(false)});
}

Cancel SimMainQueue::after(double seconds, std::function<void()> fn) {
    std::lock_guard lock(mutex_);
    auto flag = std::make_shared<bool>(false);
    items_.push_back({now_ + std::max(0.0, seconds), nextOrder_++, std::move(fn), flag});
    return Cancel(flag);
}

double SimMainQueue::now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

bool SimMainQueue::runNextDueBy(double limit) {
    std::function<void()> fn;
    {
        std::lock_guard lock(mutex_);
        std::erase_if(items_, [](const Item& i) { return *i.cancelled; });
        auto next = std::min_element(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
            return a.due != b.due ? a.due < b.due : a.order < b.order;
        });
        if (next == items_.end() || next->due > limit) return false;
        now_ = std::max(now_, next->due);
        fn = std::move(next->fn);
        items_.erase(next);
    }
    fn();
    return true;
}

void SimMainQueue::runPending() {
    while (runNextDueBy(now())) {
    }
}

void SimMainQueue::advance(double seconds) {
    const double target = now() + seconds;
    while (runNextDueBy(target)) {
    }
    std::lock_guard lock(mutex_);
    now_ = std::max(now_, target);
}

std::size_t SimMainQueue::pendingCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(
        std::count_if(items_.begin(), items_.end(), [](const Item& i) { return !*i.cancelled; }));
}

} // namespace rondelix::platform::sim
