#pragma once

#include "platform/MainQueue.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace rondelix::platform::sim {

// A main queue on a virtual clock. Nothing runs until the test drains the
// queue or advances time; due work then runs in time order, ties in the order
// it was scheduled.
class SimMainQueue final : public MainQueue {
  public:
    void post(std::function<void()> fn) override;
    Cancel after(double seconds, std::function<void()> fn) override;
    double now() const override;

    // Runs everything due at the current time, including work that the work
    // itself posts for now.
    void runPending();

    // Moves the clock forward, running each due step at its own time.
    void advance(double seconds);

    // Number of steps waiting, cancelled ones excluded.
    std::size_t pendingCount() const;

  private:
    struct Item {
        double due;
        std::uint64_t order;
        std::function<void()> fn;
        std::shared_ptr<bool> cancelled;
    };

    bool runNextDueBy(double limit);

    mutable std::mutex mutex_;
    std::vector<Item> items_;
    double now_ = 0.0;
    std::uint64_t nextOrder_ = 0;
};

} // namespace rondelix::platform::sim
