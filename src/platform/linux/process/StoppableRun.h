#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace rondelix::platform::linux_desktop {

// Work on a thread of its own that can be told to stop: from then on the
// flag it is handed says no, and `onStop` cuts off whatever it waits for.
class StoppableRun {
  public:
    using Work = std::function<void(const std::function<bool()>& keepGoing)>;

    // Starts the work at once; `ended` is called on its thread once the work
    // has returned.
    StoppableRun(Work work, std::function<void()> onStop, std::function<void()> ended);
    // Stops the work and waits for it to return.
    ~StoppableRun();
    StoppableRun(const StoppableRun&) = delete;
    StoppableRun& operator=(const StoppableRun&) = delete;

    // Any thread, any number of times; `onStop` runs at the first.
    void stop();

  private:
    std::atomic<bool> stopped_{false};
    std::function<void()> onStop_;
    std::thread thread_;
};

} // namespace rondelix::platform::linux_desktop
