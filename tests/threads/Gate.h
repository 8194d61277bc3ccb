#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace rondelix::threads {

// A one-way door between threads: waiting passes once it is open.
class Gate {
  public:
    void open() {
        {
            std::lock_guard guard(lock_);
            open_ = true;
        }
        opened_.notify_all();
    }
    void wait() {
        std::unique_lock guard(lock_);
        opened_.wait(guard, [this] { return open_; });
    }
    // False when it stayed shut all the while.
    bool waitFor(std::chrono::milliseconds limit) {
        std::unique_lock guard(lock_);
        return opened_.wait_for(guard, limit, [this] { return open_; });
    }

  private:
    std::mutex lock_;
    std::condition_variable opened_;
    bool open_ = false;
};

} // namespace rondelix::threads
