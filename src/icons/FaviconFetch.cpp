#include "icons/FaviconFetch.h"

#include "icons/FaviconAddress.h"
#include "icons/FaviconBodySink.h"
#include "icons/FaviconLinks.h"
#include "icons/FaviconSvgCleaner.h"
#include "util/Ascii.h"

#include <algorithm>
#include <cmath>

namespace rondelix {

std::optional<std::string> FaviconFetch::checkedAddress(const std::string& host) {
    const auto addresses = services_.resolver.addresses(asciiLowercased(host));
    if (addresses.empty()) return std::nullopt;
    const auto own = services_.resolver.ownAddresses();
    if (!std::ranges::all_of(addresses,
                             [&own](const auto& address) { return isPublicAddress(address, own); }))
        return std::nullopt;
    return addresses.front();
}

std::optional<FaviconFetch::Body> FaviconFetch::fetchCapped(const FaviconUrl& url, std::size_t cap,
                                                            bool truncate) {
    auto current = url;
    for (int hop = 0; hop <= redirectsFollowed; ++hop) {
        if (!isFetchableFaviconUrl(current)) return std::nullopt;
        const auto address = checkedAddress(current.host);
        if (!address) return std::nullopt;
        FaviconBodySink sink(cap, truncate);
        const auto end = services_.http.get({current.text(), *address, timeoutSeconds}, sink);
        if (!sink.redirect()) return sink.result(end);
        // A redirect without a usable target ends on its 3xx status.
        const auto target = current.resolved(*sink.redirect());
        if (sink.redirect()->empty() || !target) return std::nullopt;
        current = *target;
    }
    return std::nullopt;
}

std::optional<std::string> FaviconFetch::fetchImage(const FaviconUrl& url) {
    auto body = fetchCapped(url, imageCap, false);
    if (!body) return std::nullopt;
    const bool isSvg = asciiLowercased(body->mimeType).find("svg") != std::string::npos ||
                       url.pathExtension() == "svg" || looksLikeSvg(body->data);
    return imageFromBytes(body->data, isSvg);
}

std::optional<std::string> FaviconFetch::imageFromHref(std::string_view href, const FaviconUrl& base) {
    const auto first = href.find_first_not_of(" \t\n\r\v\f");
    if (first == std::string_view::npos) return std::nullopt;
    const auto trimmed = href.substr(first, href.find_last_not_of(" \t\n\r\v\f") - first + 1);
    if (asciiLowercased(trimmed.substr(0, 5)) == "data:") {
        const auto inline_ = dataLinkBytes(trimmed);
        if (!inline_) return std::nullopt;
        return imageFromBytes(inline_->bytes, inline_->declaredSvg);
    }
    const auto url = base.resolved(trimmed);
    if (!url) return std::nullopt;
    return fetchImage(*url);
}

std::optional<platform::PixelSize> FaviconFetch::acceptableSize(std::string_view bytes) const {
    const auto size = services_.images.declaredSize(bytes);
    if (!size || size->width <= 0 || size->height <= 0 || size->width > largestSide ||
        size->height > largestSide)
        return std::nullopt;
    return size;
}

namespace {

std::uint64_t pixelsOf(const platform::PixelSize& size) {
    return static_cast<std::uint64_t>(size.width) * static_cast<std::uint64_t>(size.height);
}

} // namespace

platform::Admission FaviconFetch::pixelsFor(std::uint64_t pixels) const {
    return platform::Admission([searches = searches_, pixels] { return searches->pixels.reserve(pixels); });
}

std::optional<std::string> FaviconFetch::drawingFromText(const std::string& svg) {
    const double giveUpAt = services_.clock.now() + drawingSeconds;
    std::uint64_t pixels = 0;
    const auto cleaned = cleanedSvg(
        svg,
        [&](std::string_view picture) {
            const auto size = acceptableSize(picture);
            if (size) pixels += pixelsOf(*size);
            return size.has_value();
        },
        [&] { return searches_->closed || services_.clock.now() >= giveUpAt; });
    // Too many pictures inline are refused whole rather than drawn in part.
    if (!cleaned || pixels > iconPixelCap) return std::nullopt;
    const double left = giveUpAt - services_.clock.now();
    if (searches_->closed || left <= 0) return std::nullopt;
    return services_.svg.renderPNG(*cleaned, iconSide, left, pixelsFor(pixels));
}

std::optional<std::string> FaviconFetch::imageFromBytes(std::string_view bytes, bool isSvg) {
    // A drawing that did not render is not handed to a decoder that could
    // draw it again without the cleaning and the time limit.
    if (isSvg) {
        auto text = repairedUtf8(bytes);
        if (asciiLowercased(text).find("<svg") != std::string::npos) return drawingFromText(text);
    }
    const auto size = acceptableSize(bytes);
    if (!size) return std::nullopt;
    // A wheel draws the icon a few dozen pixels wide; keeping a large picture
    // whole would only cost memory and decoding time on every host's icon.
    const double scale = std::min(1.0, iconSide / std::max(size->width, size->height));
    const auto side = [scale](double length) {
        return std::max(1, static_cast<int>(std::lround(length * scale)));
    };
    return services_.images.drawnAsPNG(bytes, side(size->width), side(size->height),
                                       pixelsFor(pixelsOf(*size)));
}

std::optional<std::string> FaviconFetch::resolve(const std::string& host) {
    if (const auto icon = FaviconUrl::parse("https://" + host + "/favicon.ico"))
        if (auto image = fetchImage(*icon)) return image;
    const auto home = FaviconUrl::parse("https://" + host + "/");
    if (!home) return std::nullopt;
    const auto page = fetchCapped(*home, pageCap, true);
    if (!page) return std::nullopt;
    const auto text = repairedUtf8(std::string_view(page->data).substr(0, pageScanned));
    const auto hrefs = iconHrefs(text);
    for (std::size_t i = 0; i < std::min(hrefs.size(), linksTried); ++i)
        if (auto image = imageFromHref(hrefs[i], *home)) return image;
    return std::nullopt;
}

} // namespace rondelix
