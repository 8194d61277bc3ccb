#pragma once

#include "platform/MainQueue.h"

#include <condition_variable>
#include <deque>
#include <gtest/gtest.h>
#include <mutex>

namespace rondelix::platform::linux_desktop {

// A main queue that the test thread drains by hand, waiting (never polling)
// until a background thread posts something.
class BlockingMainQueue final : public MainQueue {
  public:
    void post(std::function<void()> fn) override {
        {
            std::lock_guard guard(lock_);
            work_.push_back(std::move(fn));
        }
        posted_.notify_one();
    }
    Cancel after(double, std::function<void()>) override {
        ADD_FAILURE() << "nothing here schedules delayed work";
        return {};
    }
    double now() const override { return 0.0; }

    // Runs the next posted step; false when none came within the wait.
    bool runNext(double seconds = 10.0) {
        std::unique_lock guard(lock_);
        if (!posted_.wait_for(guard, std::chrono::duration<double>(seconds),
                              [this] { return !work_.empty(); }))
            return false;
        auto fn = std::move(work_.front());
        work_.pop_front();
        guard.unlock();
        fn();
        return true;
    }

  private:
    std::mutex lock_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> work_;
};

} // namespace rondelix::platform::linux_desktop
