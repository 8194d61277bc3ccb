#pragma once

#include "icons/FaviconCache.h"
#include "icons/ui/FaviconImages.h"
#include "platform/Log.h"
#include "platform/MainQueue.h"
#include "platform/linux/process/DetachingBackground.h"

#include <memory>

namespace rondelix {

// The website icons of link slices on this desktop, for every wheel of the
// program to draw. Each search runs on a thread of its own from the moment it
// is asked for, so a site that keeps its search waiting holds up neither
// another site's search nor the program's other background work; a quit
// waits for them only briefly: a search still stuck then keeps what it uses
// alive itself.
class DesktopFavicons {
  public:
    DesktopFavicons(platform::MainQueue& queue, platform::Log& log);
    ~DesktopFavicons();
    DesktopFavicons(const DesktopFavicons&) = delete;
    DesktopFavicons& operator=(const DesktopFavicons&) = delete;

    FaviconImages& images() { return images_; }

  private:
    struct Searching;

    std::shared_ptr<Searching> searching_;
    platform::linux_desktop::DetachingBackground searches_{
        platform::linux_desktop::DetachingBackground::unlimited};
    FaviconCache cache_;
    FaviconImages images_{cache_};
};

} // namespace rondelix
