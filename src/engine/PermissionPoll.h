#pragma once

#include "platform/MainQueue.h"

#include <functional>

namespace rondelix {

class PermissionsCheck;

// Watches for the two grants while the main window's content is shown: one
// refresh at once, then one a second for as long as either grant is missing,
// each preceded by a nudge of the listen tap so that a grant made meanwhile
// is seen by a working tap. Once both are in place the tap is nudged one last
// time and the poll ends. Main thread only.
class PermissionPoll {
  public:
    static constexpr double interval = 1.0;

    // `nudgeListenTap` reinstalls the listen tap when that can help: the
    // system has answered on listening and no real event has reached the tap.
    PermissionPoll(platform::MainQueue& queue, PermissionsCheck& permissions,
                   std::function<void()> nudgeListenTap);
    ~PermissionPoll();
    PermissionPoll(const PermissionPoll&) = delete;
    PermissionPoll& operator=(const PermissionPoll&) = delete;

    // The content was shown: the poll starts over from its first refresh.
    void start();
    // The content went away: nothing more is refreshed or nudged.
    void stop();
    bool running() const { return pending_.isValid() && !pending_.isCancelled(); }

  private:
    bool bothGranted() const;
    void scheduleTick();
    void tick();
    void finish();

    platform::MainQueue& queue_;
    PermissionsCheck& permissions_;
    std::function<void()> nudgeListenTap_;
    platform::Cancel pending_;
};

} // namespace rondelix
