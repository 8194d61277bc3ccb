#pragma once

#include "platform/Background.h"

#include <vector>

namespace rondelix::platform::sim {

// Background work held until the test runs it, on the test's thread.
class SimBackground final : public Background {
  public:
    void run(std::function<void()> work) override { pending_.push_back(std::move(work)); }

    // Runs everything handed over so far, including work handed over meanwhile.
    void runAll() {
        while (!pending_.empty()) {
            auto work = std::move(pending_.front());
            pending_.erase(pending_.begin());
            work();
        }
    }
    std::size_t pendingCount() const { return pending_.size(); }

  private:
    std::vector<std::function<void()>> pending_;
};

} // namespace rondelix::platform::sim
