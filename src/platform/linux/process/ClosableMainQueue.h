#pragma once

#include "platform/MainQueue.h"

#include <mutex>

namespace rondelix::platform::linux_desktop {

// Hands steps on to the program's main queue until closed, for work that may
// outlive the one who gave it: once closed, whatever it posts is dropped and
// its clock reads as if every time limit were up.
class ClosableMainQueue final : public MainQueue {
  public:
    explicit ClosableMainQueue(MainQueue& queue) : queue_(&queue) {}

    void post(std::function<void()> fn) override;
    Cancel after(double seconds, std::function<void()> fn) override;
    double now() const override;

    // From the main thread, before the main queue is gone; a post under way
    // on another thread ends first.
    void close();

  private:
    mutable std::mutex lock_;
    MainQueue* queue_;
};

} // namespace rondelix::platform::linux_desktop
