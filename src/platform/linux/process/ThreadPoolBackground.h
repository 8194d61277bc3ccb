#pragma once

#include "platform/Background.h"

#include <QThreadPool>

namespace rondelix::platform::linux_desktop {

// Background work on a small pool of its own; destroying the pool waits for
// work still running, so nothing posts to a main queue that is gone.
class ThreadPoolBackground final : public Background {
  public:
    explicit ThreadPoolBackground(int threads = 2);
    ~ThreadPoolBackground() override;
    void run(std::function<void()> work) override;

  private:
    QThreadPool pool_;
};

} // namespace rondelix::platform::linux_desktop
