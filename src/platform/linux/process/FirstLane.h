#pragma once

#include <deque>
#include <functional>
#include <mutex>

namespace rondelix::platform::linux_desktop {

// Steps that go ahead of a main queue's ordinary work: any thread adds one,
// and the main thread runs all that are waiting, in the order added, before
// each ordinary step and whenever it is told that one was added.
class FirstLane {
  public:
    void add(std::function<void()> step);
    // Main thread: runs every step added so far, and those they add.
    void runAll();

  private:
    std::mutex lock_;
    std::deque<std::function<void()>> steps_;
};

} // namespace rondelix::platform::linux_desktop
