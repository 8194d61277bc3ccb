#pragma once

#include "icons/FaviconCache.h"
#include "icons/ui/FaviconImages.h"
#include "platform/Log.h"
#include "platform/MainQueue.h"
#include "platform/linux/process/DetachingBackground.h"

#include <cstddef>
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
    // Drawers the searches share. Each may take a gibibyte of address space,
    // or two for a picture, so they are few; but with four, the first costly
    // drawings of four sites may all run together, and an ordinary site
    // asking meanwhile has a drawer as soon as they end, and from then on
    // one kept for it (FairTurns).
    static constexpr std::size_t drawers = 4;
    // The drawer time one search's drawings and pictures may take together:
    // two drawings at their time limit. An ordinary site's search takes a few
    // tenths of a second of it (each picture is sized and drawn, and each
    // drawing drawn, in a few hundredths), where a site offering sixteen
    // drawings that each run to the limit would otherwise take a minute and
    // a half.
    static constexpr double searchDrawerSeconds = 12;

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
