#pragma once

#include "platform/Background.h"
#include "platform/Images.h"
#include "platform/Log.h"
#include "platform/MainQueue.h"
#include "util/LifetimeGuard.h"

#include <filesystem>
#include <functional>
#include <set>
#include <string>

namespace rondelix {

// The stored icons that are not as the drawer writes them (one an earlier
// build restored byte for byte, or one put into the icons folder by hand),
// which the window never decodes: each is drawn anew once, away from the main
// thread, and the drawn PNG written over it, so that from then on the window
// reads it at a known cost. One the drawer refuses stays as it is and its
// slices show the placeholder. Main thread only.
class StoredIconRedraws {
  public:
    // The longest side of a stored picture that is drawn anew: the most the
    // window ever decoded itself.
    static constexpr double largestStoredSide = 4096;

    struct Services {
        const platform::Images& images;
        platform::Background& background;
        platform::MainQueue& queue;
        platform::Log& log;
    };

    StoredIconRedraws(std::filesystem::path folder, Services services);

    // Has the file drawn anew, the first time it is asked for only; once it
    // has been written, `redrawn` is told on the main thread.
    void redraw(const std::string& filename);

    std::function<void(const std::string& filename)> redrawn;

  private:
    std::filesystem::path folder_;
    Services services_;
    std::set<std::string> asked_;
    LifetimeGuard lifetime_;
};

} // namespace rondelix
