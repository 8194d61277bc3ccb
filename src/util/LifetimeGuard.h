#pragma once

#include <memory>

namespace rondelix {

// Tells deferred work and callbacks whether the object that handed them out
// is still there. The owner keeps a guard as a member; a callback that
// captures the owner also captures `watch()` and does nothing once the watch
// reads false. An owner whose destructor does work that could run callbacks
// ends the guard first, so nothing reaches a half-destroyed object.
//
// A watch may be copied and dropped on any thread; reading it is meant for
// the main thread, where the owner lives and dies.
class LifetimeGuard {
  public:
    class Watch {
      public:
        explicit operator bool() const { return !token_.expired(); }

      private:
        friend class LifetimeGuard;
        explicit Watch(std::weak_ptr<const char> token) : token_(std::move(token)) {}
        std::weak_ptr<const char> token_;
    };

    LifetimeGuard() = default;
    LifetimeGuard(const LifetimeGuard&) = delete;
    LifetimeGuard& operator=(const LifetimeGuard&) = delete;

    Watch watch() const { return Watch(token_); }

    // Every watch reads false from now on.
    void end() { token_.reset(); }

  private:
    std::shared_ptr<const char> token_ = std::make_shared<const char>('\0');
};

} // namespace rondelix
