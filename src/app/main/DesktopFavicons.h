#pragma once

#include "icons/FaviconCache.h"
#include "icons/FaviconFetch.h"
#include "icons/ui/FaviconImages.h"
#include "platform/Log.h"
#include "platform/MainQueue.h"
#include "platform/linux/GetaddrinfoHostResolver.h"
#include "platform/linux/ModuleHttpClient.h"
#include "platform/linux/QtImages.h"
#include "platform/linux/QtSvgRenderer.h"
#include "platform/linux/ThreadPoolBackground.h"

namespace rondelix {

// The website icons of link slices on this desktop, for every wheel of the
// program to draw. Searches run on a pool of their own, so a slow site never
// holds up the program's other background work.
class DesktopFavicons {
  public:
    DesktopFavicons(platform::MainQueue& queue, platform::Log& log);
    ~DesktopFavicons();
    DesktopFavicons(const DesktopFavicons&) = delete;
    DesktopFavicons& operator=(const DesktopFavicons&) = delete;

    FaviconImages& images() { return images_; }

  private:
    platform::linux_desktop::GetaddrinfoHostResolver resolver_;
    platform::linux_desktop::ModuleHttpClient http_;
    platform::linux_desktop::QtImages pictures_{platform::linux_desktop::QtImages::Drawings::refused};
    platform::linux_desktop::QtSvgRenderer svg_;
    FaviconFetch fetch_;
    platform::linux_desktop::ThreadPoolBackground searches_{4};
    FaviconCache cache_;
    FaviconImages images_{cache_};
};

} // namespace rondelix
