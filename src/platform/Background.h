#pragma once

#include <functional>

namespace rondelix::platform {

// Runs slow work (a folder listing, deleting files) away from the main
// thread. The work hands its result back through MainQueue::post.
class Background {
  public:
    virtual ~Background() = default;
    virtual void run(std::function<void()> work) = 0;
};

} // namespace rondelix::platform
