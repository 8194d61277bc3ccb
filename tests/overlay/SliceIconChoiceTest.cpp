#include "overlay/SliceIconChoice.h"

#include "overlay/IconCache.h"

#include <gtest/gtest.h>

using rondelix::faviconHost;
using rondelix::Icon;
using rondelix::MacroAction;
using rondelix::Slice;
using rondelix::SliceIconChoice;

namespace {
Slice slice(Icon icon, MacroAction action) {
    Slice s;
    s.icon = std::move(icon);
    s.action = std::move(action);
    return s;
}
SliceIconChoice choice(Icon icon, MacroAction action) {
    return rondelix::chooseSliceIcon(slice(std::move(icon), std::move(action)));
}
const SliceIconChoice own{SliceIconChoice::OwnIcon{}};
const SliceIconChoice mark{SliceIconChoice::ProgramMark{}};
} // namespace

TEST(SliceIconChoice, ApplicationsShowTheirIconOnlyForTheAutomaticIcon) {
    const MacroAction app = MacroAction::App{"org.gnome.Calculator", std::nullopt};
    const SliceIconChoice appIcon{SliceIconChoice::AppIcon{"org.gnome.Calculator", std::nullopt}};
    EXPECT_EQ(choice(Icon::Auto{}, app), appIcon);
    EXPECT_EQ(choice(Icon::SfSymbol{"star"}, app), own);
}

TEST(SliceIconChoice, ProgramPagesShowTheMarkForAutoOrTheGear) {
    const MacroAction page = MacroAction::OpenSettings{"open-wheel-behavior"};
    EXPECT_EQ(choice(Icon::Auto{}, page), mark);
    EXPECT_EQ(choice(Icon::SfSymbol{"gearshape.fill"}, page), mark);
    EXPECT_EQ(choice(Icon::SfSymbol{"gearshape"}, page), own);
    EXPECT_EQ(choice(Icon::SfSymbol{"gearshape.fill"}, MacroAction::Text{""}), own);
}

TEST(SliceIconChoice, LinksAskForTheFaviconOfTheirHost) {
    const SliceIconChoice favicon{SliceIconChoice::Favicon{"www.example.org"}};
    EXPECT_EQ(choice(Icon::Auto{}, MacroAction::Url{"  https://www.example.org/a/b?c=1  \n"}), favicon);
    EXPECT_EQ(choice(Icon::SfSymbol{"globe"}, MacroAction::Url{"https://www.example.org"}), favicon);
    EXPECT_EQ(choice(Icon::Auto{}, MacroAction::Url{"www.example.org"}), own);
    EXPECT_EQ(choice(Icon::SfSymbol{"link"}, MacroAction::Url{"https://www.example.org"}), own);
}

TEST(FaviconHost, FollowsUrlParsing) {
    EXPECT_EQ(faviconHost("https://user:pw@Example.com:8443/x#y"), "Example.com");
    EXPECT_EQ(faviconHost("http://[::1]:8080/"), "::1");
    EXPECT_EQ(faviconHost("//cdn.example.net/icon"), "cdn.example.net");
    EXPECT_EQ(faviconHost("\uFEFF\u202Ehttps://example.org\u200B\n"), "example.org");
    for (const char* none : {"", "   ", "example.com", "example.com:8080", "https://", "https:///path",
                             "https://exa mple.com", "https://bad\"host", "https://[::1", "mailto:a@b.c",
                             "https://example.com:8o/", "https://exa%zzmple.com/", "http://[]/"})
        EXPECT_EQ(faviconHost(none), std::nullopt) << none;
}

TEST(SliceIconChoice, AnEmptySymbolNameShowsAQuestionMark) {
    EXPECT_EQ(rondelix::symbolName({""}), "questionmark");
    EXPECT_EQ(rondelix::symbolName({"wifi"}), "wifi");
}

TEST(IconCache, EmptiesItselfBeforeGrowingPast256AndKeepsOnlyWhatIsStored) {
    rondelix::IconCache<int> cache;
    for (int i = 0; i < 256; ++i)
        cache.store("k" + std::to_string(i), i);
    EXPECT_EQ(cache.size(), 256u);
    EXPECT_EQ(cache.find("missing"), nullptr);
    EXPECT_EQ(cache.size(), 256u);
    cache.store("new", 7);
    EXPECT_EQ(cache.size(), 1u);
    ASSERT_NE(cache.find("new"), nullptr);
    EXPECT_EQ(*cache.find("new"), 7);
    EXPECT_EQ(cache.find("k0"), nullptr);
}

TEST(IconCache, KeysNameTheApplicationOrTheFile) {
    EXPECT_EQ(rondelix::appIconKey("org.a.B", std::nullopt), "b:org.a.B|p:");
    EXPECT_EQ(rondelix::appIconKey(std::nullopt, "/usr/bin/x"), "b:|p:/usr/bin/x");
    EXPECT_EQ(rondelix::customImageKey("A.png"), "img:A.png");
}
