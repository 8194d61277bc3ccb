#pragma once

#include <functional>
#include <memory>

namespace rondelix::platform {

// A handle to a delayed step; cancelling it keeps the step from running.
// Copies share one flag, so whichever copy cancels, the step is off.
class Cancel {
  public:
    Cancel() = default;
    explicit Cancel(std::shared_ptr<bool> cancelled) : cancelled_(std::move(cancelled)) {}

    void cancel() const {
        if (cancelled_) *cancelled_ = true;
    }
    bool isCancelled() const { return cancelled_ && *cancelled_; }
    bool isValid() const { return cancelled_ != nullptr; }

  private:
    std::shared_ptr<bool> cancelled_;
};

// A pending step that its holder owns: replacing it or letting the holder go
// cancels it, so a record reset in one step takes its pending steps along.
class ScopedCancel {
  public:
    ScopedCancel() = default;
    ScopedCancel(const ScopedCancel&) = delete;
    ScopedCancel& operator=(const ScopedCancel&) = delete;
    ~ScopedCancel() { handle_.cancel(); }

    ScopedCancel& operator=(Cancel handle) {
        handle_.cancel();
        handle_ = std::move(handle);
        return *this;
    }
    void cancel() {
        handle_.cancel();
        handle_ = {};
    }

  private:
    Cancel handle_;
};

// The one thread the system runs on. Every deferred step goes through here,
// so tests can drive time with a virtual clock.
class MainQueue {
  public:
    virtual ~MainQueue() = default;

    // Runs fn soon, in the order posted. Safe to call from any thread.
    virtual void post(std::function<void()> fn) = 0;

    // Runs fn ahead of every step posted with post() or come due with
    // after() that has not begun yet; these run in the order posted among
    // themselves. For input whose answer someone waits for, which must not
    // queue behind redraws. Safe to call from any thread. A queue of one
    // lane runs it in posting order.
    virtual void postFirst(std::function<void()> fn) { post(std::move(fn)); }

    // Runs fn once after the delay unless the returned handle is cancelled first.
    virtual Cancel after(double seconds, std::function<void()> fn) = 0;

    // Monotonic seconds since the program started (the uptime clock).
    virtual double now() const = 0;
};

} // namespace rondelix::platform
