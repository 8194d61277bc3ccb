#pragma once

#include "platform/Background.h"
#include "platform/MainQueue.h"
#include "util/LifetimeGuard.h"

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace rondelix {

// Website icons, one per host string exactly as given, kept for the life of
// the process. Failures are silent and keep the host quiet for a while.
// Main thread only; the search itself runs in the background.
class FaviconCache {
  public:
    static constexpr double retryAfterSeconds = 600;

    // Runs away from the main thread; the icon as PNG bytes, or none.
    using Search = std::function<std::optional<std::string>(const std::string& host)>;
    using Listener = std::function<void(const std::string& host)>;

    FaviconCache(platform::MainQueue& queue, platform::Background& background, Search search);
    ~FaviconCache();
    FaviconCache(const FaviconCache&) = delete;
    FaviconCache& operator=(const FaviconCache&) = delete;

    // Starts at most one search for the host; cheap enough for every redraw.
    void prefetch(const std::string& host);

    // The icon found for the host, or null.
    const std::string* image(const std::string& host) const;

    // Called on the main thread each time an icon arrives.
    int addListener(Listener listener);
    void removeListener(int id);

  private:
    void finished(const std::string& host, std::optional<std::string> image);

    platform::MainQueue& queue_;
    platform::Background& background_;
    Search search_;
    std::map<std::string, std::string> images_;
    std::map<std::string, double> failedAt_;
    std::set<std::string> inFlight_;
    std::map<int, Listener> listeners_;
    int nextListener_ = 0;
    // Searches outliving the cache find it gone through this.
    LifetimeGuard lifetime_;
};

} // namespace rondelix
