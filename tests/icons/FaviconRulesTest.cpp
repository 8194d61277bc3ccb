#include "icons/FaviconAddress.h"
#include "icons/FaviconLinks.h"
#include "icons/FaviconSvgCleaner.h"
#include "icons/FaviconUrl.h"
#include "util/GiveUp.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

TEST(FaviconHostFilter, RefusesLocalAndPrivateHostTexts) {
    for (const char* host : {"localhost",  "printer.local",  "dev.localhost", "::1",
                             "fe80::1",    "0x7f000001",     "2130706433",    "",
                             "127.1",      "10.0.1",         "1.2.3.4.5",     "10.0.0.5",
                             "172.16.0.1", "172.31.255.255", "169.254.1.1",   "192.168.1.1",
                             "0.1.2.3",    "127.0.0.1",      "+127.-0.0",     "127..1"})
        EXPECT_FALSE(isPublicHost(host)) << host;
}

TEST(FaviconHostFilter, AllowsNamesAndPublicLookingNumbers) {
    for (const char* host : {"example.com", "172.15.0.1", "172.32.0.1", "169.253.1.1", "192.169.0.1",
                             "100.64.0.1", "300.1.1.1", "localhost.", "local", "a.localhostx", "1.2.3.x"})
        EXPECT_TRUE(isPublicHost(host)) << host;
}

TEST(FaviconHostFilter, FetchableLinksNeedWebSchemeAndPublicLowerCasedHost) {
    const struct {
        const char* url;
        bool fetchable;
    } cases[] = {
        {"https://example.com/a.png", true}, {"HTTP://Example.COM/", true},
        {"ftp://example.com/", false},       {"https://LOCALHOST/", false},
        {"https://[::1]/", false},           {"https://Printer.Local/x", false},
        {"file://host/etc/passwd", false},
    };
    for (const auto& c : cases) {
        const auto url = FaviconUrl::parse(c.url);
        ASSERT_TRUE(url) << c.url;
        EXPECT_EQ(isFetchableFaviconUrl(*url), c.fetchable) << c.url;
    }
}

TEST(FaviconAddressGate, RefusesEverySpecialRangeNotGloballyReachableAndTheMachineItself) {
    const std::vector<std::string> own = {"203.0.114.7", "2a01:4f8::7", "fe80::1%eth0", "not an address"};
    const struct {
        const char* address;
        bool isPublic;
    } cases[] = {
        // IPv4: each special-purpose range at its edges, and just outside.
        {"93.184.216.34", true},
        {"0.0.0.0", false},
        {"0.255.255.255", false},
        {"10.255.255.255", false},
        {"100.64.0.0", false},
        {"100.127.255.255", false},
        {"100.128.0.1", true},
        {"127.0.0.1", false},
        {"169.254.169.254", false},
        {"172.16.0.1", false},
        {"172.31.255.255", false},
        {"172.32.0.1", true},
        {"192.0.0.0", false},
        {"192.0.0.8", false},
        {"192.0.0.9", true}, // anycast services
        {"192.0.0.10", true},
        {"192.0.0.170", false},
        {"192.0.0.255", false},
        {"192.0.1.1", true},
        {"192.0.2.1", false},
        {"192.31.196.1", true},
        {"192.52.193.1", true},
        {"192.88.99.1", false},
        {"192.168.0.1", false},
        {"192.175.48.1", true},
        {"198.17.255.255", true},
        {"198.18.0.0", false},
        {"198.19.255.255", false},
        {"198.20.0.0", true},
        {"198.51.100.7", false},
        {"203.0.113.255", false},
        {"224.0.0.1", false},
        {"239.1.1.1", false},
        {"240.0.0.1", false},
        {"255.255.255.255", false},
        // IPv6: only global unicast, less its special ranges.
        {"2606:4700::1111", true},
        {"::", false},
        {"::1", false},
        {"::ffff:8.8.8.8", false},
        {"::ffff:0:8.8.8.8", false}, // translated form
        {"::8.8.8.8", false},
        {"64:ff9b::8.8.8.8", true},
        {"64:ff9b::10.0.0.1", false},
        {"64:ff9b::127.0.0.1", false},
        {"64:ff9b::192.0.2.1", false},
        {"64:ff9b:1::808:808", false},
        {"100::1", false},
        {"100:0:0:1::1", false},
        {"2001::1", false},
        {"2001:0:4136:e378::1", false},
        {"2001:1::1", true},
        {"2001:1::3", true},
        {"2001:1::4", false},
        {"2001:2::1", false},
        {"2001:3::1", true},
        {"2001:4:112::1", true},
        {"2001:4:113::1", false},
        {"2001:10::1", false},
        {"2001:20::1", true},
        {"2001:30::1", true},
        {"2001:1ff::1", false},
        {"2001:200::1", true},
        {"2001:db8::1", false},
        {"2002:c0a8:101::1", false},
        {"3fff::1", false},
        {"3fff:fff::1", false},
        {"3fff:1000::1", true},
        {"5f00::1", false},
        {"fc00::1", false},
        {"fdff::1", false},
        {"fe80::1", false},
        {"febf::1", false},
        {"fec0::1", false},
        {"ff02::1", false},
        // The machine's own addresses, in any form that reaches them.
        {"203.0.114.7", false},
        {"203.0.114.8", true},
        {"64:ff9b::203.0.114.7", false},
        {"2a01:4f8:0::7", false},
        {"2a01:4f8::8", true},
        // Not numeric addresses.
        {"example.com", false},
        {"fe80::1%eth0", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isPublicAddress(c.address, own), c.isPublic) << c.address;
}

TEST(FaviconLinkScanner, FindsIconLinksInDocumentOrder) {
    const struct {
        const char* html;
        std::vector<std::string> hrefs;
    } cases[] = {
        {R"(<link rel="apple-touch-icon" href="/t.png"><LINK REL=ICON HREF=/i.ico>)", {"/t.png", "/i.ico"}},
        {R"(<link rel='shortcut icon' href='a b.png'>)", {"a b.png"}},
        {R"(<link title="a>b" rel="icon" href="/q.png">)", {"/q.png"}},
        {R"(<link rel = "icon" href="/spaced.png">)", {}},
        {R"(<link rel="stylesheet" href="/s.css"><link rel="mask-icon" href=" /m.svg ">)", {" /m.svg "}},
        {R"(<link rel="icon">)", {}},
        {R"(<link data-href="/wrong.png" rel="icon" href="/right.png">)", {"/wrong.png"}},
        {R"(<link rel="icon" href="&amp;x.png")", {"&amp;x.png"}},
        {R"(<link rel="icon" href="/unclosed.png)", {}},
        {R"(<meta rel="icon" href="/meta.png">)", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(iconHrefs(c.html), c.hrefs) << c.html;
}

TEST(FaviconLinkScanner, ReadsAttributesAsAPlainTextSearch) {
    const struct {
        const char* tag;
        std::optional<std::string> rel;
    } cases[] = {
        {"<link rel=icon>", "icon"},    {"<link rel=\"\">", ""}, {"<link rel=", std::nullopt},
        {"<link rel='a", std::nullopt}, {"<link REL=x\ty", "x"}, {"<link rel =x", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(tagAttribute("rel", c.tag), c.rel) << c.tag;
}

TEST(FaviconSniffing, LooksForSvgTagInFirstKilobyte) {
    EXPECT_TRUE(looksLikeSvg("<?xml version='1.0'?><SVG xmlns='x'/>"));
    for (const std::size_t lead : {1019u, 1020u}) {
        std::string text(lead, ' ');
        text.append("<svg>");
        EXPECT_EQ(looksLikeSvg(text), lead + 4 <= 1024) << lead;
    }
    EXPECT_TRUE(looksLikeSvg("\xff\xfe<svg"));
    EXPECT_FALSE(looksLikeSvg("\x89PNG"));
}

TEST(FaviconDataLinks, DecodesBase64AndPercentPayloads) {
    const struct {
        const char* link;
        std::optional<std::string> bytes;
        bool svg;
    } cases[] = {
        {"data:image/png;base64,aGk=", "hi", false},
        {"data:image/png;base64,aG\nk=", std::nullopt, false},
        {"data:image/png;base64", std::nullopt, false},
        {"DATA:IMAGE/SVG+XML,%3Csvg%2F%3E", "<svg/>", true},
        {"data:text/plain,%3Csvg/%3E", "<svg/>", true},
        {"data:,50%", "50%", false},
        {"data:,%FF", "%FF", false},
    };
    for (const auto& c : cases) {
        const auto decoded = dataLinkBytes(c.link);
        ASSERT_EQ(decoded.has_value(), c.bytes.has_value()) << c.link;
        if (!decoded) continue;
        EXPECT_EQ(decoded->bytes, *c.bytes) << c.link;
        EXPECT_EQ(decoded->declaredSvg, c.svg) << c.link;
    }
}

TEST(FaviconUrls, ResolvesReferencesAgainstTheHomePage) {
    const auto base = FaviconUrl::parse("https://Example.com/");
    ASSERT_TRUE(base);
    const struct {
        const char* reference;
        const char* resolved;
    } cases[] = {
        {"/i.png", "https://Example.com/i.png"},
        {"i.png?v=2", "https://Example.com/i.png?v=2"},
        {"//cdn.example.net/x.ico", "https://cdn.example.net/x.ico"},
        {"http://other.org/a/../b.svg", "http://other.org/b.svg"},
        {"../../up.png", "https://Example.com/up.png"},
        {"https://[::1]:8080/x", "https://[::1]:8080/x"},
        {"HTTPS://h.org#frag", "HTTPS://h.org/"},
    };
    for (const auto& c : cases) {
        const auto url = base->resolved(c.reference);
        ASSERT_TRUE(url) << c.reference;
        EXPECT_EQ(url->text(), c.resolved) << c.reference;
    }
    for (const char* bad : {"https://user@evil.org/", "https://a b/", "https:///x", "https://h:port/"})
        EXPECT_FALSE(base->resolved(bad)) << bad;
    EXPECT_EQ(FaviconUrl::parse("https://h/x/Icon.SVG")->pathExtension(), "svg");
}

TEST(FaviconSvgCleaning, KeepsOnlyWhatPointsInsideTheDrawing) {
    const auto acceptsSmall = [](std::string_view bytes) { return bytes == "small"; };
    const struct {
        std::string svg;
        std::optional<std::string> cleaned;
    } cases[] = {
        // Link-like text in text, comments, CDATA and single quotes is text.
        {R"~(<svg><text> a="</text><image xlink:href="/home/u/secret.png"/></svg>)~",
         "<svg><text> a=&quot;</text></svg>"},
        {R"~(<svg><!-- a="--><image xlink:href="/home/u/secret.png"/></svg>)~", "<svg/>"},
        {R"~(<svg><style><![CDATA[ a="]]></style><image xlink:href="/home/u/secret.png"/></svg>)~",
         "<svg><style> a=&quot;</style></svg>"},
        {R"~(<svg><text> a='</text><image xlink:href="/home/u/secret.png"/>'</svg>)~",
         "<svg><text> a=&apos;</text>&apos;</svg>"},
        {R"~(<svg><image xlink:href="/dev/stdin"/><image href="fifo"/></svg>)~", "<svg/>"},
        // An ordinary icon keeps its shapes, inside links and styles.
        {"\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 1.1//EN\" "
         "\"http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd\">\n<!-- icon -->\n"
         R"~(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink">)~"
         R"~(<path id="p" d="M0 0h9"></path><use xlink:href=" #p" fill="url(#g)"/>)~"
         "<style>.a > b{fill:url( '#g' )}</style><text>R&amp;D &#x2192;\r\n</text></svg>\n",
         R"~(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink">)~"
         R"~(<path id="p" d="M0 0h9"/><use xlink:href="#p" fill="url(#g)"/>)~"
         "<style>.a &gt; b{fill:url( &apos;#g&apos; )}</style><text>R&amp;D \xE2\x86\x92\n</text></svg>"},
        {"<svg><g title=\"a&#10;b\tc\r\nd&lt;\"/></svg>", "<svg><g title=\"a&#10;b c d&lt;\"/></svg>"},
        // Links: inside ones only, on an image only an accepted inline picture.
        {R"~(<svg><use href="&#x68;ttp://e/x#a"/><use src="&#35;a"/><image xlink:href="#a"/></svg>)~",
         R"~(<svg><use src="#a"/></svg>)~"},
        {R"~(<svg><image href="DATA:Image/PNG;x=y;base64,c21hbGw="/><image href="data:,small"/>)~"
         R"~(<image href="data:image/png;base64,aHVnZQ=="/><image href="data:image/svg+xml,small"/></svg>)~",
         R"~(<svg><image href="data:image/png;base64,c21hbGw="/><image href="data:;base64,c21hbGw="/>)~"
         "</svg>"},
        // Style sheets: no imports or outside url()s however written.
        {R"~(<svg><style>@imp/**/ort 'http://e/f.css';.a{fill:url(http://e/p)}</style>)~"
         R"~(<rect style="fill:u\72l(http://e)" fill="URL(http://x)" stroke="url(#s)"/>)~"
         R"~(<g fill="url(#a url(http://e/)"/></svg>)~",
         R"~(<svg><style> .a{fill:none}</style><rect fill="none" stroke="url(#s)"/><g fill="none"/></svg>)~"},
        // Scripts, foreign content, link animations, base links, style sheet instructions.
        {R"~(<?xml-stylesheet href="/s.css"?><svg><script>x<g/></script><foreignObject><img src="x"/>)~"
         R"~(</foreignObject><animate attributeName="xlink:href" to="/etc/passwd"/><g xml:base="/"/></svg>)~",
         "<svg><g/></svg>"},
        // Entities beyond XML's own and malformed documents are refused whole.
        {"<!DOCTYPE svg [<!ENTITY a \"aaaa\">]><svg>&a;</svg>", std::nullopt},
        {"<svg>&nbsp;</svg>", std::nullopt},
        {"<svg><g></svg>", std::nullopt},
        {"<svg/><svg/>", std::nullopt},
        {"<svg a='1' a='2'/>", std::nullopt},
        {"<svg>\x01</svg>", std::nullopt},
        {"<svg>&#0;</svg>", std::nullopt},
        {"<svg", std::nullopt},
        {"<script><svg/></script>", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cleanedSvg(c.svg, acceptsSmall), c.cleaned) << c.svg;
}

// Drawings of a few pieces each, one of them long: the give-up is asked
// within that piece, on the turns of whichever loop reads, cleans or
// measures it, so a piece cannot keep its search past the answer. A long
// run of one character is no exception, however it is read.
TEST(FaviconSvgCleaning, GivesUpWithinALongPieceNotOnlyBetweenPieces) {
    const auto times = [](std::string_view piece) {
        std::string text;
        for (int i = 0; i < 10000; ++i)
            text += piece;
        return text;
    };
    // Long enough for sixteen questions, however much of a run a turn takes.
    const auto run = [](char c) {
        return std::string(16 * GiveUp::turnsPerQuestion * GiveUp::bytesPerTurn, c);
    };
    const std::string drawings[] = {
        "<svg><style>" + times("stroke-dasharray:1 ") + "</style></svg>",
        "<svg><g style='" + times("stroke-dasharray:1 ") + "'/></svg>",
        "<svg><g stroke-dasharray='" + times("1 ") + "'/></svg>",
        "<svg><path d='M0 0" + times("l1 1") + "'/></svg>",
        "<svg><polyline points='" + times("1,1 ") + "'/></svg>",
        "<svg><style>" + times("/**/") + "</style></svg>",
        "<svg><style>" + times("@x") + "</style></svg>",
        "<svg><g fill='" + times("u") + "'/></svg>",
        "<svg><g fill='" + times("&amp;") + "'/></svg>",
        "<svg><text>" + times("&amp;") + "</text></svg>",
        "<svg><text><![CDATA[" + times("&") + "]]></text></svg>",
        "<!DOCTYPE svg '" + times("x") + "'><svg/>",
        "<svg><text>" + run('x') + "</text></svg>",
        "<svg><style>" + run('x') + "</style></svg>",
        "<svg><g style='" + run('x') + "'/></svg>",
        "<svg><g fill='" + run('x') + "'/></svg>",
        "<svg><text><![CDATA[" + run('x') + "]]></text></svg>",
        "<svg><!--" + run('x') + "--></svg>",
        "<svg><g" + run(' ') + "/></svg>",
        "<svg><g stroke-dasharray='1" + run(' ') + "'/></svg>",
        "<svg><use href='" + run(' ') + "#a'/></svg>",
        "<svg><image href='data:image/png;base64," + run('A') + "'/></svg>",
    };
    for (const auto& svg : drawings) {
        int asked = 0;
        // More asks than the drawing has pieces.
        const auto cleaned = cleanedSvg(
            svg, [](std::string_view) { return true; }, [&asked] { return ++asked > 8; });
        EXPECT_FALSE(cleaned.has_value()) << svg.substr(0, 40) << " asked " << asked;
    }
}

} // namespace
} // namespace rondelix
