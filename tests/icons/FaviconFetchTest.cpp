#include "icons/FaviconFetch.h"

#include "icons/Base64.h"
#include "platform/sim/SimHostResolver.h"
#include "platform/sim/SimHttpClient.h"
#include "platform/sim/SimImages.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimSvgRenderer.h"
#include "threads/Gate.h"

#include <future>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

using platform::sim::SimImages;
using Answer = platform::sim::SimHttpClient::Answer;

class FaviconFetchTest : public ::testing::Test {
  protected:
    FaviconFetchTest() {
        resolver.replies["example.com"] = {{"93.184.216.34"}};
        resolver.replies["cdn.example.net"] = {{"151.101.1.1"}};
    }

    std::optional<std::string> fetch(const std::string& url, std::size_t cap, bool truncate) {
        const auto body = fetcher.fetchCapped(*FaviconUrl::parse(url), cap, truncate);
        if (!body) return std::nullopt;
        return body->data;
    }

    std::vector<std::string> requestedUrls() const {
        std::vector<std::string> urls;
        for (const auto& request : http.requests)
            urls.push_back(request.url);
        return urls;
    }

    static std::string png(std::uint32_t side = 32) { return SimImages::pngHeader(side, side); }

    void homePage(const std::string& html) {
        http.answers["https://example.com/"] = {200, "text/html", html};
    }

    platform::sim::SimHttpClient http;
    platform::sim::SimHostResolver resolver;
    SimImages images;
    platform::sim::SimSvgRenderer svg;
    platform::sim::SimMainQueue queue;
    std::shared_ptr<FaviconFetch::Searches> searches = std::make_shared<FaviconFetch::Searches>();
    FaviconFetch fetcher{{http, resolver, images, svg, queue}, searches};
};

TEST_F(FaviconFetchTest, ImageCapRefusesAtTheLimitAndOverAnnouncedLength) {
    const std::size_t cap = FaviconFetch::imageCap;
    const struct {
        std::size_t bodySize;
        std::optional<std::int64_t> announced;
        bool accepted;
    } cases[] = {
        {cap - 1, std::nullopt, true},
        {cap, std::nullopt, false},
        {cap - 1, static_cast<std::int64_t>(cap), true},
        {10, static_cast<std::int64_t>(cap) + 1, false},
        {cap + 5000, -1, false},
        {0, -1, true},
    };
    for (const auto& c : cases) {
        http.answers["https://example.com/i.png"] = {200, "image/png", std::string(c.bodySize, 'x'),
                                                     c.announced};
        const auto body = fetch("https://example.com/i.png", cap, false);
        EXPECT_EQ(body.has_value(), c.accepted) << c.bodySize;
        if (body) {
            EXPECT_EQ(body->size(), c.bodySize);
        }
    }
    // An announced length over the cap is refused before any byte is read.
    http.bytesDelivered = 0;
    http.answers["https://example.com/i.png"] = {200, "image/png", std::string(100, 'x'), cap + 1};
    EXPECT_FALSE(fetch("https://example.com/i.png", cap, false));
    EXPECT_EQ(http.bytesDelivered, 0u);
}

TEST_F(FaviconFetchTest, PageCapTruncatesAndKeepsWhatArrivedBeforeABreak) {
    const std::size_t cap = FaviconFetch::pageCap;
    http.answers["https://example.com/"] = {200, "text/html", std::string(cap * 3, 'p'), -1};
    EXPECT_EQ(fetch("https://example.com/", cap, true)->size(), cap);
    EXPECT_LT(http.bytesDelivered, cap + 8192);

    Answer broken{200, "text/html", std::string(1000, 'p')};
    broken.failsAfterBody = true;
    http.answers["https://example.com/"] = broken;
    EXPECT_EQ(fetch("https://example.com/", cap, true)->size(), 1000u);
    http.answers["https://example.com/i.png"] = broken;
    EXPECT_FALSE(fetch("https://example.com/i.png", FaviconFetch::imageCap, false));
}

TEST_F(FaviconFetchTest, OnlySuccessStatusesGiveABody) {
    for (const int status : {100, 199, 204, 200, 299, 300, 304, 404, 500}) {
        http.answers["https://example.com/x"] = {status, "image/png", "body"};
        EXPECT_EQ(fetch("https://example.com/x", 100, false).has_value(), status >= 200 && status <= 299)
            << status;
    }
}

TEST_F(FaviconFetchTest, EveryHopIsResolvedCheckedAndSentToTheCheckedAddress) {
    resolver.replies["evil.example"] = {{"10.0.0.7"}};
    resolver.replies["mixed.example"] = {{"8.8.8.8", "::ffff:127.0.0.1"}};
    resolver.replies["rebind.example"] = {{"93.184.216.35"}, {"127.0.0.1"}};
    // A public address of this machine's own.
    resolver.replies["own.example"] = {{"93.184.216.99"}};
    resolver.own = {"127.0.0.1", "93.184.216.99"};
    http.answers["https://example.com/to-own"] = {302, "", "", std::nullopt, "http://own.example:8080/admin"};
    http.answers["https://example.com/to-private"] = {302, "", "", std::nullopt, "http://evil.example/x"};
    http.answers["https://example.com/to-loopback-name"] = {301, "", "", std::nullopt, "http://localhost./x"};
    http.answers["https://example.com/to-http"] = {301, "", "", std::nullopt, "http://cdn.example.net/x"};
    http.answers["http://cdn.example.net/x"] = {200, "image/png", "ok"};
    http.answers["https://example.com/loop"] = {302, "", "", std::nullopt, "/loop"};
    http.answers["https://rebind.example/x"] = {200, "image/png", "first"};
    const struct {
        const char* url;
        bool fetched;
    } cases[] = {
        {"https://example.com/to-private", false}, {"https://example.com/to-loopback-name", false},
        {"https://example.com/to-http", true},     {"https://evil.example/x", false},
        {"https://mixed.example/x", false},        {"https://unknown.example/x", false},
        {"https://example.com/loop", false},       {"https://example.com/to-own", false},
        {"https://rebind.example/x", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fetch(c.url, 100, false).has_value(), c.fetched) << c.url;

    for (const auto& request : http.requests) {
        EXPECT_NE(request.address, "10.0.0.7");
        EXPECT_NE(request.address, "127.0.0.1");
        EXPECT_NE(request.address, "93.184.216.99");
        EXPECT_EQ(request.timeoutSeconds, 60);
    }
    EXPECT_EQ(http.requests.back().url, "https://rebind.example/x");
    EXPECT_EQ(http.requests.back().address, "93.184.216.35");
    // One request per hop, the redirect loop cut after a bounded number.
    EXPECT_EQ(http.requests.size(), 1u + 1 + 2 + (FaviconFetch::redirectsFollowed + 1) + 1 + 1);
    // The same name answering privately on its next lookup is refused.
    EXPECT_FALSE(fetch("https://rebind.example/x", 100, false));
}

TEST_F(FaviconFetchTest, LocalNamesAreNeverLookedUpOrRequested) {
    resolver.replies["localhost."] = {{"127.0.0.1"}};
    resolver.replies["public-looking.example"] = {{"127.0.0.1"}};
    EXPECT_FALSE(fetcher.resolve("localhost."));
    EXPECT_FALSE(fetcher.resolve("public-looking.example"));
    EXPECT_FALSE(fetcher.resolve("LOCALHOST"));
    EXPECT_FALSE(fetcher.resolve("192.168.0.1"));
    EXPECT_TRUE(http.requests.empty());
}

TEST_F(FaviconFetchTest, FaviconIcoWinsOverThePageAndThePageIsFetchedOnlyWhenItFails) {
    http.answers["https://example.com/favicon.ico"] = {200, "image/x-icon", png()};
    homePage(R"(<link rel="icon" href="/other.png">)");
    EXPECT_EQ(fetcher.resolve("example.com"), png());
    EXPECT_EQ(requestedUrls(), std::vector<std::string>{"https://example.com/favicon.ico"});
}

TEST_F(FaviconFetchTest, TriesPageLinksInOrderAgainstTheRequestedHomePage) {
    http.answers["https://example.com/"] = {301, "", "", std::nullopt, "https://cdn.example.net/home/"};
    http.answers["https://cdn.example.net/home/"] = {
        200, "text/html",
        R"(<link rel="apple-touch-icon" href="t.png"><link rel="shortcut icon" href="/s.png">)"};
    http.answers["https://example.com/s.png"] = {200, "image/png", png()};
    EXPECT_EQ(fetcher.resolve("example.com"), png());
    EXPECT_EQ(requestedUrls(),
              (std::vector<std::string>{"https://example.com/favicon.ico", "https://example.com/",
                                        "https://cdn.example.net/home/", "https://example.com/t.png",
                                        "https://example.com/s.png"}));
}

TEST_F(FaviconFetchTest, TriesAtMostSixteenLinks) {
    std::string html;
    for (int i = 1; i <= 17; ++i)
        html += "<link rel=icon href=/" + std::to_string(i) + ".png>";
    homePage(html);
    http.answers["https://example.com/17.png"] = {200, "image/png", png()};
    EXPECT_FALSE(fetcher.resolve("example.com"));
    EXPECT_EQ(http.requests.size(), 2u + 16);
    EXPECT_EQ(http.requests.back().url, "https://example.com/16.png");
}

TEST_F(FaviconFetchTest, OnlyTheFirstQuarterMegabyteOfThePageIsScanned) {
    const std::string link = "<link rel=icon href=/late.png>";
    homePage(std::string(FaviconFetch::pageScanned - 8, ' ') + link);
    http.answers["https://example.com/late.png"] = {200, "image/png", png()};
    EXPECT_FALSE(fetcher.resolve("example.com"));
    homePage(std::string(FaviconFetch::pageScanned - link.size(), ' ') + link);
    EXPECT_EQ(fetcher.resolve("example.com"), png());
}

TEST_F(FaviconFetchTest, DecodesOnlyPicturesWithinTheSideLimit) {
    // Kept at most 128 pixels on the longer side, its aspect kept.
    const struct {
        std::string bytes;
        bool decoded;
        int width = 0, height = 0;
    } cases[] = {
        {SimImages::pngHeader(4096, 4096), true, 128, 128},
        {SimImages::pngHeader(4096, 16), true, 128, 1},
        {SimImages::pngHeader(16, 32), true, 16, 32},
        {SimImages::pngHeader(4097, 16), false},
        {SimImages::pngHeader(16, 4097), false},
        {SimImages::pngHeader(100000, 100000), false},
        {SimImages::pngHeader(0, 16), false},
        {"not a picture", false},
        {"", false},
    };
    for (const auto& c : cases) {
        images.drawings.clear();
        EXPECT_EQ(fetcher.imageFromBytes(c.bytes, false).has_value(), c.decoded);
        // Oversized pictures never reach the decoder.
        ASSERT_EQ(images.drawings.size(), c.decoded ? 1u : 0u);
        if (c.decoded) {
            EXPECT_EQ(images.drawings[0].width, c.width);
            EXPECT_EQ(images.drawings[0].height, c.height);
        }
    }
}

TEST_F(FaviconFetchTest, SvgIsRecognisedCleanedAndDrawnAtTheIconSide) {
    const std::string drawing = R"(<svg><image href="file:///etc/passwd"/></svg>)";
    const struct {
        const char* url;
        const char* mime;
        std::string body;
    } cases[] = {
        {"https://example.com/a", "image/SVG+xml", drawing},
        {"https://example.com/b.SVG", "application/octet-stream", drawing},
        {"https://example.com/c", "", "<?xml version='1.0'?>\n" + drawing},
    };
    for (const auto& c : cases) {
        http.answers[c.url] = {200, c.mime, c.body};
        svg.drawings.clear();
        EXPECT_EQ(fetcher.fetchImage(*FaviconUrl::parse(c.url)), "svg:128") << c.url;
        ASSERT_EQ(svg.drawings.size(), 1u);
        EXPECT_EQ(svg.drawings[0].svg.find("passwd"), std::string::npos);
    }
    // The drawing has the time its cleaning left, here all of it.
    EXPECT_EQ(svg.drawings[0].seconds, FaviconFetch::drawingSeconds);
    // A drawing that fails to draw is not decoded another way; a mislabelled
    // picture still is.
    svg.fails = true;
    EXPECT_FALSE(fetcher.imageFromBytes(drawing, true));
    EXPECT_EQ(fetcher.imageFromBytes(png(), true), png());
    // Once shut down, nothing more is drawn.
    svg.fails = false;
    svg.drawings.clear();
    searches->closed = true;
    EXPECT_FALSE(fetcher.imageFromBytes(drawing, true));
    EXPECT_TRUE(svg.drawings.empty());
}

TEST_F(FaviconFetchTest, DecodedPixelsAreCappedForOneIconAndWaitedForWhileOthersHoldThem) {
    const auto inlined = [](const std::vector<std::uint32_t>& sides) {
        std::string svg = "<svg>";
        for (const auto side : sides)
            svg += R"(<image href="data:image/png;base64,)" + Base64::encode(png(side)) + "\"/>";
        return svg + "</svg>";
    };
    // Inline pictures over one icon's share are never drawn.
    EXPECT_FALSE(fetcher.imageFromBytes(inlined(std::vector<std::uint32_t>(21, 4096)), true));
    EXPECT_FALSE(fetcher.imageFromBytes(inlined({4096, 1}), true));
    EXPECT_TRUE(svg.drawings.empty());
    EXPECT_EQ(fetcher.imageFromBytes(inlined({4096}), true), "svg:128");
    EXPECT_EQ(fetcher.imageFromBytes(inlined(std::vector<std::uint32_t>(16, 1024)), true), "svg:128");
    // Those two drawings hold every pixel while they run: a picture asked
    // for meanwhile waits for one of them to end, and is decoded then. (A
    // caller that asks only after the drawing ended passes too.)
    threads::Gate asking;
    auto waiting = std::async(std::launch::async, [&] {
        asking.open();
        return fetcher.imageFromBytes(png(4096), false);
    });
    asking.wait();
    svg.drawings.pop_back();
    EXPECT_TRUE(waiting.get());
    // Once the searches close, nothing more is decoded or drawn.
    searches->close();
    EXPECT_FALSE(fetcher.imageFromBytes(png(16), false));
    EXPECT_FALSE(fetcher.imageFromBytes(inlined({1}), true));
    EXPECT_EQ(images.drawings.size(), 1u);
    EXPECT_EQ(svg.drawings.size(), 1u);
}

TEST_F(FaviconFetchTest, DataLinksDecodeWithoutAnyRequest) {
    const struct {
        const char* href;
        std::optional<std::string> image;
    } cases[] = {
        {"  data:image/svg+xml,%3Csvg%20viewBox='0 0 1 1'%3E%3C/svg%3E\n", "svg:128"},
        {"data:image/png;base64,\niVBORw0KGgo=", std::nullopt},
        {"data:image/png", std::nullopt},
        {"data:text/plain,hello", std::nullopt},
    };
    const auto base = *FaviconUrl::parse("https://example.com/");
    for (const auto& c : cases)
        EXPECT_EQ(fetcher.imageFromHref(c.href, base), c.image) << c.href;
    EXPECT_TRUE(http.requests.empty());
}

TEST_F(FaviconFetchTest, AnyBytesAsPageOrPictureGiveNoIconAndNoCrash) {
    std::string noise;
    for (int i = 0; i < 70000; ++i)
        noise += static_cast<char>((i * 7919) % 256);
    for (const auto& page :
         {noise, std::string("<link rel=icon href='"), std::string("<link"), noise + "<svg"}) {
        homePage(page);
        http.answers["https://example.com/favicon.ico"] = {200, "", page};
        EXPECT_FALSE(fetcher.resolve("example.com"));
    }
}

} // namespace
} // namespace rondelix
