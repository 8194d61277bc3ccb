#include "app/main/DesktopFavicons.h"

#include "icons/FaviconFetch.h"
#include "platform/linux/network/GetaddrinfoHostResolver.h"
#include "platform/linux/network/ModuleHttpClient.h"
#include "platform/linux/process/ClosableMainQueue.h"
#include "platform/linux/process/DrawerImages.h"

namespace rondelix {

namespace desktop = platform::linux_desktop;

// Everything a search touches, shared by the searches and their owner.
struct DesktopFavicons::Searching {
    Searching(platform::MainQueue& mainQueue, platform::Log& log)
        : queue(mainQueue), http(log, queue), fetch({http, resolver, pictures, svg, queue}) {}

    desktop::ClosableMainQueue queue;
    desktop::GetaddrinfoHostResolver resolver;
    desktop::ModuleHttpClient http;
    desktop::SvgDrawerClient svg;
    desktop::DrawerImages pictures{svg, desktop::QtImages::Readers::anyButDrawings};
    FaviconFetch fetch;
};

DesktopFavicons::DesktopFavicons(platform::MainQueue& queue, platform::Log& log)
    : searching_(std::make_shared<Searching>(queue, log)),
      // The cache posts its results through the closable queue, which each
      // search keeps alive through the search it carries.
      cache_(searching_->queue, searches_,
             [searching = searching_](const std::string& host) { return searching->fetch.resolve(host); }) {}

DesktopFavicons::~DesktopFavicons() {
    // Searches still waiting on a name server, a web server or a drawing
    // give up at once; one that does not is left behind once the pool has
    // waited its while, and finds the main queue closed to it.
    searching_->resolver.shutDown();
    searching_->http.shutDown();
    searching_->fetch.shutDown();
    searching_->svg.shutDown();
    searching_->queue.close();
}

} // namespace rondelix
