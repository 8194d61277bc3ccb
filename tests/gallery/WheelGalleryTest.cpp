#include "gallery/WheelGallery.h"

#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimWorkspace.h"
#include "support/GalleryWheelById.h"
#include "util/NameOrder.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace rondelix;
using Category = GalleryWheel::Category;

namespace {

std::vector<std::string> idsOf(const WheelGallery::Listing& list) {
    std::vector<std::string> ids;
    for (const GalleryWheel* g : list)
        ids.push_back(g->id);
    return ids;
}

std::vector<std::string> namesOf(const WheelGallery::Listing& list) {
    std::vector<std::string> names;
    for (const GalleryWheel* g : list)
        names.push_back(g->wheel.name);
    return names;
}

} // namespace

TEST(WheelGallery, CategoriesFromRawValues) {
    struct Case {
        std::string raw;
        std::optional<Category> expected;
    };
    for (const Case& c : std::vector<Case>{{"Apps", Category::apps},
                                           {"Web & AI", Category::web},
                                           {"Fun", Category::fun},
                                           {"apps", std::nullopt},
                                           {"web", std::nullopt},
                                           {"Web &  AI", std::nullopt},
                                           {" Music", std::nullopt},
                                           {"", std::nullopt}})
        EXPECT_EQ(GalleryWheel::fromRaw(c.raw), c.expected) << c.raw;
    for (Category c : GalleryWheel::allCategories)
        EXPECT_EQ(GalleryWheel::fromRaw(GalleryWheel::rawValue(c)), c);
}

TEST(WheelGallery, CategoryListings) {
    EXPECT_EQ(WheelGallery::categories(),
              std::vector<Category>(GalleryWheel::allCategories.begin(), GalleryWheel::allCategories.end()));
    const std::vector<std::pair<Category, std::size_t>> sizes{
        {Category::apps, 30}, {Category::productivity, 13}, {Category::system, 6},
        {Category::web, 15},  {Category::music, 3},         {Category::fun, 8}};
    for (const auto& [category, size] : sizes)
        EXPECT_EQ(WheelGallery::wheels(category).size(), size) << GalleryWheel::rawValue(category);

    EXPECT_EQ(
        idsOf(WheelGallery::wheels(Category::music)),
        (std::vector<std::string>{"gallery-apple-music", "gallery-spotify", "gallery-system-playback"}));
    EXPECT_EQ(idsOf(WheelGallery::wheels(Category::fun)),
              (std::vector<std::string>{"gallery-emoji", "gallery-apple-music", "gallery-spotify",
                                        "gallery-streaming", "gallery-kaomoji", "gallery-fancy-text",
                                        "gallery-meme-machine", "gallery-time-killers"}));
    // Extra categories list a wheel without taking it out of its own.
    const auto webIds = idsOf(WheelGallery::wheels(Category::web));
    EXPECT_EQ(webIds.front(), "gallery-browser");
    EXPECT_NE(std::find(webIds.begin(), webIds.end(), "gallery-time-killers"), webIds.end());
    EXPECT_EQ(idsOf(WheelGallery::wheels(Category::music)).back(), "gallery-system-playback");
}

TEST(WheelGallery, AppsListInstalledFirstThenByName) {
    const auto plain = namesOf(WheelGallery::sortedWheels(Category::apps, {}));
    ASSERT_EQ(plain.size(), 30u);
    EXPECT_TRUE(std::is_sorted(plain.begin(), plain.end(), namesAscending));
    EXPECT_EQ(plain.front(), "Calendar");
    EXPECT_EQ(plain.back(), "Zoom");

    const auto installed = namesOf(
        WheelGallery::sortedWheels(Category::apps, {"gallery-zoom", "gallery-firefox", "gallery-keepassxc"}));
    EXPECT_EQ(std::vector<std::string>(installed.begin(), installed.begin() + 4),
              (std::vector<std::string>{"Firefox", "KeePassXC", "Zoom", "Calendar"}));
    EXPECT_TRUE(std::is_sorted(installed.begin() + 3, installed.end(), namesAscending));

    // Only Apps is reordered.
    EXPECT_EQ(idsOf(WheelGallery::sortedWheels(Category::productivity, {"gallery-rectangle"})),
              idsOf(WheelGallery::wheels(Category::productivity)));
}

TEST(WheelGallery, SearchTrimsIgnoresCaseAndSortsByName) {
    struct Case {
        std::string query;
        std::vector<std::string> names;
    };
    const std::vector<Case> cases{
        {"", {}},
        {" \n\t ", {}},
        {"  kaomoji\n", {"Kaomoji"}},
        {"KAOMOJI", {"Kaomoji"}},
        // Found through the summary alone.
        {"Wordle", {"Time Killers"}},
        {"table flip", {"Emoji & Symbols"}},
        // Accents are not ignored.
        {"kaómoji", {}},
        {"music", {"Music Player", "Spotify"}},
        {"zzzz-no-such-wheel", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(namesOf(WheelGallery::search(c.query)), c.names) << c.query;

    const auto microsoft = namesOf(WheelGallery::search("microsoft"));
    EXPECT_EQ(microsoft, (std::vector<std::string>{"Microsoft Teams", "Microsoft Word"}));
    const auto many = namesOf(WheelGallery::search("e"));
    EXPECT_GT(many.size(), 40u);
    EXPECT_TRUE(std::is_sorted(many.begin(), many.end(), namesAscending));
    EXPECT_TRUE(WheelGallery::search(std::string(100000, 'x')).empty());
    EXPECT_TRUE(WheelGallery::search("\xff\xfe\xc3 broken \x80").empty());
    EXPECT_TRUE(WheelGallery::search(std::string("\0", 1)).empty());
}

TEST(WheelGallery, NamesCompareAsAFileBrowserLists) {
    struct Case {
        std::string a, b;
        int expected;
    };
    for (const Case& c : std::vector<Case>{{"Wheel 2", "Wheel 10", -1},
                                           {"wheel 10", "Wheel 9", 1},
                                           {"apple mail", "Apple Mail", 0},
                                           {"Zoom", "apple", 1},
                                           {"A02", "a2", 0},
                                           {"x99999999999999999999999", "x100000000000000000000000", -1},
                                           {"Notes", "Notes 1", -1},
                                           {"Ärger", "Zebra", 1}}) {
        EXPECT_EQ(compareNames(c.a, c.b), c.expected) << c.a << " vs " << c.b;
        EXPECT_EQ(compareNames(c.b, c.a), -c.expected) << c.b << " vs " << c.a;
    }
}

TEST(WheelGallery, AddableCopiesGetFreshIds) {
    const GalleryWheel& spotify = testsupport::galleryWheel("gallery-spotify");
    const Wheel first = WheelGallery::makeAddable(spotify);
    const Wheel second = WheelGallery::makeAddable(spotify);
    for (const Wheel* w : {&first, &second}) {
        EXPECT_TRUE(w->id.starts_with("wheel-"));
        EXPECT_EQ(w->id.size(), 42u);
        EXPECT_EQ(std::count_if(w->id.begin(), w->id.end(), [](char c) { return c >= 'A' && c <= 'Z'; }), 0);
        EXPECT_EQ(w->name, "Spotify");
        EXPECT_EQ(w->sliceCount, spotify.wheel.sliceCount);
        EXPECT_FALSE(w->appBundleIdentifier);
        ASSERT_EQ(w->slices.size(), spotify.wheel.slices.size());
        for (std::size_t i = 0; i < w->slices.size(); ++i) {
            const Slice& copy = w->slices[i];
            const Slice& original = spotify.wheel.slices[i];
            EXPECT_NE(copy.id, original.id);
            EXPECT_EQ(std::tie(copy.position, copy.label, copy.icon, copy.action),
                      std::tie(original.position, original.label, original.icon, original.action));
        }
    }
    EXPECT_NE(first.id, second.id);
    EXPECT_NE(first.slices[0].id, second.slices[0].id);
    EXPECT_EQ(testsupport::galleryWheel("gallery-spotify").wheel.id, "gallery-spotify");
}

TEST(WheelGallery, InstalledApplicationsThroughTheDesktop) {
    platform::sim::SimMainQueue queue;
    platform::sim::SimWorkspace workspace{queue};
    EXPECT_TRUE(WheelGallery::installedAppIDs(workspace).empty());

    // A second, older identifier counts as well; the window wheel, which
    // works the window manager, is never missing and follows no application.
    workspace.installed["com.microsoft.teams"] = "/usr/share/applications/teams.desktop";
    workspace.installed["com.knollsoft.Hookshot"] = "/opt/hookshot.desktop";
    workspace.installed["com.sublimetext.4"] = "/usr/share/applications/sublime_text.desktop";
    workspace.installed["org.mozilla.firefox"] = "/usr/share/applications/firefox.desktop";
    workspace.installed["org.gnome.Calculator"] = "/usr/share/applications/org.gnome.Calculator.desktop";
    EXPECT_EQ(WheelGallery::installedAppIDs(workspace),
              (std::set<std::string>{"gallery-teams", "gallery-sublime-text", "gallery-firefox"}));

    // Every other Apps wheel, and only those, names an application.
    for (const GalleryWheel& g : WheelGallery::all())
        EXPECT_EQ(WheelGallery::appBundleIDs().count(g.id),
                  g.category == Category::apps && g.id != "gallery-rectangle" ? 1u : 0u)
            << g.id;
}
