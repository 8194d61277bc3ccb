#pragma once

#include "util/FairTurns.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

namespace rondelix::platform::linux_desktop {

// Turns at the drawers for callers on any thread, handed out as FairTurns
// says: a caller waits, for as long as the turns before it take, and its
// account is charged only the time its own drawer runs.
class DrawerQueue {
  public:
    // One drawer's use while it is held; let go, the drawer goes to the turn
    // next in line.
    class Turn {
      public:
        Turn(Turn&& other) noexcept;
        Turn& operator=(Turn&&) = delete;
        ~Turn();

        // What the account may still spend, from the start of the turn.
        double secondsLeft() const { return left_; }
        // The drawer time the work took, charged to the account at the end.
        void charge(double seconds) { seconds_ += seconds; }

      private:
        friend class DrawerQueue;
        Turn(DrawerQueue& queue, FairTurns::Turn turn, double left)
            : queue_(&queue), turn_(turn), left_(left) {}

        DrawerQueue* queue_;
        FairTurns::Turn turn_;
        double left_;
        double seconds_ = 0;
    };

    explicit DrawerQueue(std::size_t drawers) : turns_(drawers) {}

    // Waits, with no time limit, for a drawer for the account's work: none
    // when the account's budget is spent or once the queue is closed.
    std::optional<Turn> take(std::shared_ptr<FairTurns::Account> account);
    // Every caller still waiting gets none now, and so does every later one;
    // turns held run on to their end.
    void close();

  private:
    void end(FairTurns::Turn turn, double seconds);

    std::mutex lock_;
    std::condition_variable changed_;
    FairTurns turns_;
    bool closed_ = false;
};

} // namespace rondelix::platform::linux_desktop
