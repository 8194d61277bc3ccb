#pragma once

#include "icons/FaviconBodySink.h"
#include "icons/FaviconUrl.h"
#include "icons/PixelBudget.h"
#include "platform/Admission.h"
#include "platform/HostResolver.h"
#include "platform/HttpClient.h"
#include "platform/Images.h"
#include "platform/MainQueue.h"
#include "platform/SvgRenderer.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace rondelix {

// The search for one site's icon, run away from the main thread. Every
// request goes to an address that was resolved and checked just before it,
// redirects included; the result is the icon as PNG bytes.
class FaviconFetch {
  public:
    static constexpr std::size_t imageCap = 2097152;
    static constexpr std::size_t pageCap = 524288;
    static constexpr std::size_t pageScanned = 262144;
    static constexpr double timeoutSeconds = 60;
    // Drawings are drawn on a square of this side; pictures are kept no larger.
    static constexpr int iconSide = 128;
    static constexpr double largestSide = 4096;
    // The pixels one icon's pictures may decode to together (a drawing's
    // inline pictures included), and all icons' pictures at once.
    static constexpr std::uint64_t iconPixelCap = 4096 * 4096;
    static constexpr std::uint64_t pixelCap = 2 * iconPixelCap;
    // What a drawing may take, its cleaning and its drawing together.
    static constexpr double drawingSeconds = 6;
    static constexpr std::size_t linksTried = 16;
    static constexpr int redirectsFollowed = 10;

    struct Services {
        platform::HttpClient& http;
        platform::HostResolver& resolver;
        const platform::Images& images;
        platform::SvgRenderer& svg;
        // Only its clock is read, from the searching thread.
        const platform::MainQueue& clock;
    };

    // What the searches of one program share, each search a fetch of its
    // own: the pixels their pictures decode to at once, and the shutting down.
    struct Searches {
        PixelBudget pixels{pixelCap};
        // Set from any thread: a drawing being cleaned stops, and every later
        // one gives none. The renderer is shut down by its owner.
        std::atomic<bool> closed = false;

        // Any thread: as `closed`, and every picture or drawing waiting for
        // its pixels gives none at once.
        void close() {
            closed = true;
            pixels.close();
        }
    };

    using Body = FaviconBodySink::Body;

    explicit FaviconFetch(Services services,
                          std::shared_ptr<Searches> searches = std::make_shared<Searches>())
        : services_(services), searches_(std::move(searches)) {}

    // The site's icon: its /favicon.ico, else the first icon link of its
    // home page that gives one.
    std::optional<std::string> resolve(const std::string& host);

    // A guarded download: refused hosts, addresses and redirects, statuses
    // outside 200 to 299, and bodies at the cap (unless truncating) give none.
    std::optional<Body> fetchCapped(const FaviconUrl& url, std::size_t cap, bool truncate);

    std::optional<std::string> fetchImage(const FaviconUrl& url);
    std::optional<std::string> imageFromHref(std::string_view href, const FaviconUrl& base);
    std::optional<std::string> imageFromBytes(std::string_view bytes, bool isSvg);

  private:
    // The address to connect to for the host: the first of its addresses,
    // and only when every one of them is public and none is this machine's.
    std::optional<std::string> checkedAddress(const std::string& host);
    // The picture's size when it is within the side limit.
    std::optional<platform::PixelSize> acceptableSize(std::string_view bytes) const;
    std::optional<std::string> drawingFromText(const std::string& svg);
    // Takes that many of the shared pixels once the decoder is ready to start,
    // waiting for them in turn while other pictures hold them.
    platform::Admission pixelsFor(std::uint64_t pixels) const;

    Services services_;
    std::shared_ptr<Searches> searches_;
};

} // namespace rondelix
