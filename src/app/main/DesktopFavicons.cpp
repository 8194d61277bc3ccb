#include "app/main/DesktopFavicons.h"

#include "icons/FaviconFetch.h"
#include "platform/linux/network/GetaddrinfoHostResolver.h"
#include "platform/linux/network/ModuleHttpClient.h"
#include "platform/linux/process/ClosableMainQueue.h"
#include "platform/linux/process/DrawerDrawings.h"
#include "platform/linux/process/DrawerImages.h"

namespace rondelix {

namespace desktop = platform::linux_desktop;

// Everything a search touches, shared by the searches and their owner.
struct DesktopFavicons::Searching {
    Searching(platform::MainQueue& mainQueue, platform::Log& log) : queue(mainQueue), http(log, queue) {}

    // One search, on a fetch of its own whose drawings and pictures are
    // charged to an account of its own.
    std::optional<std::string> search(const std::string& host) {
        const auto account = std::make_shared<FairTurns::Account>(FairTurns::Account{searchDrawerSeconds});
        desktop::DrawerDrawings drawings(drawer, account);
        const desktop::DrawerImages pictures(drawer, desktop::QtImages::Readers::anyButDrawings, account);
        return FaviconFetch({http, resolver, pictures, drawings, queue}, searches).resolve(host);
    }

    desktop::ClosableMainQueue queue;
    desktop::GetaddrinfoHostResolver resolver;
    desktop::ModuleHttpClient http;
    desktop::SvgDrawerClient drawer{desktop::SvgDrawerClient::watchdogSeconds,
                                    desktop::SvgDrawerClient::installedDrawer(), drawers};
    std::shared_ptr<FaviconFetch::Searches> searches = std::make_shared<FaviconFetch::Searches>();
};

DesktopFavicons::DesktopFavicons(platform::MainQueue& queue, platform::Log& log)
    : searching_(std::make_shared<Searching>(queue, log)),
      // The cache posts its results through the closable queue, which each
      // search keeps alive through the search it carries.
      cache_(searching_->queue, searches_,
             [searching = searching_](const std::string& host) { return searching->search(host); }) {}

DesktopFavicons::~DesktopFavicons() {
    // Searches still waiting on a name server, a web server, a drawer or
    // the pixels for a picture give up at once; one that does not is left
    // behind once the pool has waited its while, and finds the main queue
    // closed to it.
    searching_->resolver.shutDown();
    searching_->http.shutDown();
    searching_->searches->close();
    searching_->drawer.shutDown();
    searching_->queue.close();
}

} // namespace rondelix
