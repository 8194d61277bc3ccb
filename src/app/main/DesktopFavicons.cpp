#include "app/main/DesktopFavicons.h"

namespace rondelix {

DesktopFavicons::DesktopFavicons(platform::MainQueue& queue, platform::Log& log)
    : http_(log, queue), fetch_({http_, resolver_, pictures_, svg_, queue}),
      cache_(queue, searches_, [this](const std::string& host) { return fetch_.resolve(host); }) {}

DesktopFavicons::~DesktopFavicons() {
    // Searches still waiting on a name server, a web server or a drawing
    // give up at once, so the pool's threads are free before it is torn down.
    resolver_.shutDown();
    http_.shutDown();
    fetch_.shutDown();
    svg_.shutDown();
}

} // namespace rondelix
