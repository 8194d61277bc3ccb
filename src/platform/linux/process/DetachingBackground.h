#pragma once

#include "platform/Background.h"

#include <cstddef>
#include <limits>
#include <memory>

namespace rondelix::platform::linux_desktop {

// Background work on threads of its own that a quit waits for only briefly:
// work still running then is left to end on its own. Such work must hold
// shared ownership of everything it uses, since its giver may be gone. A
// thread with no work waiting ends, so a burst of work leaves none behind.
class DetachingBackground final : public Background {
  public:
    static constexpr double quitWaitSeconds = 1;
    // As many threads as pieces of work at once: none waits for another.
    static constexpr std::size_t unlimited = std::numeric_limits<std::size_t>::max();

    explicit DetachingBackground(std::size_t threads, double quitWait = quitWaitSeconds);
    // Work not yet started is dropped; work under way gets quitWait to end.
    ~DetachingBackground() override;
    DetachingBackground(const DetachingBackground&) = delete;
    DetachingBackground& operator=(const DetachingBackground&) = delete;

    void run(std::function<void()> work) override;

  private:
    struct State;

    // A thread's life: work after work until none is waiting or the pool closes.
    static void serve(const std::shared_ptr<State>& state);

    std::shared_ptr<State> state_;
    double quitWait_;
};

} // namespace rondelix::platform::linux_desktop
