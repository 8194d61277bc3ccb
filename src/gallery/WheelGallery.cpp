#include "gallery/WheelGallery.h"

#include "gallery/DesktopKeystrokes.h"
#include "gallery/DesktopProgramKeys.h"
#include "gallery/GalleryCatalogue.h"
#include "platform/CurrentDesktop.h"
#include "platform/Workspace.h"
#include "util/Ascii.h"
#include "util/NameOrder.h"
#include "util/TextTrimming.h"
#include "util/UnicodeProperties.h"

#include <algorithm>

namespace rondelix::WheelGallery {

namespace {

// What the listings need of each wheel, worked out once: its name and
// summary folded for searching, and its place in name order.
struct SearchIndex {
    std::vector<std::string> foldedNames;
    std::vector<std::string> foldedSummaries;
    std::map<const GalleryWheel*, std::size_t> nameRank;
};

const SearchIndex& searchIndex() {
    static const SearchIndex index = [] {
        SearchIndex built;
        const auto& list = all();
        Listing byName;
        for (const GalleryWheel& g : list) {
            built.foldedNames.push_back(unicode::upperCased(g.wheel.name));
            built.foldedSummaries.push_back(unicode::upperCased(g.summary));
            byName.push_back(&g);
        }
        std::stable_sort(byName.begin(), byName.end(), [](const GalleryWheel* a, const GalleryWheel* b) {
            return namesAscending(a->wheel.name, b->wheel.name);
        });
        // Equal names share a rank, so a stable sort by rank keeps their catalogue order.
        for (std::size_t i = 0, rank = 0; i < byName.size(); ++i) {
            if (i > 0 && compareNames(byName[i - 1]->wheel.name, byName[i]->wheel.name) != 0) rank = i;
            built.nameRank[byName[i]] = rank;
        }
        return built;
    }();
    return index;
}

bool byNameRank(const GalleryWheel* a, const GalleryWheel* b) {
    const auto& rank = searchIndex().nameRank;
    return rank.at(a) < rank.at(b);
}

} // namespace

const std::vector<GalleryWheel>& all() {
    static const std::vector<GalleryWheel> catalogue = GalleryCatalogue::build();
    return catalogue;
}

const std::map<std::string, std::vector<std::string>>& appBundleIDs() {
    // The window wheel has no row: it works the window manager, which every
    // desktop has, so it is added for every application and is never missing.
    static const std::map<std::string, std::vector<std::string>> ids{
        {"gallery-finder", {"com.apple.finder"}},
        {"gallery-safari", {"com.apple.Safari"}},
        {"gallery-preview", {"com.apple.Preview"}},
        {"gallery-apple-mail", {"com.apple.mail"}},
        {"gallery-apple-messages", {"com.apple.MobileSMS"}},
        {"gallery-apple-notes", {"com.apple.Notes"}},
        {"gallery-apple-calendar", {"com.apple.iCal"}},
        {"gallery-apple-photos", {"com.apple.Photos"}},
        {"gallery-apple-music", {"com.apple.Music"}},
        {"gallery-spotify", {"com.spotify.client"}},
        {"gallery-slack", {"com.tinyspeck.slackmacgap"}},
        {"gallery-discord", {"com.hnc.Discord"}},
        {"gallery-zoom", {"us.zoom.xos"}},
        {"gallery-teams", {"com.microsoft.teams2", "com.microsoft.teams"}},
        {"gallery-chrome", {"com.google.Chrome"}},
        {"gallery-vscode", {"com.microsoft.VSCode"}},
        {"gallery-xcode", {"com.apple.dt.Xcode"}},
        {"gallery-terminal", {"com.apple.Terminal"}},
        {"gallery-notion", {"notion.id"}},
        {"gallery-obsidian", {"md.obsidian"}},
        {"gallery-figma", {"com.figma.Desktop"}},
        {"gallery-photoshop", {"com.adobe.Photoshop"}},
        {"gallery-finalcut", {"com.apple.FinalCut"}},
        {"gallery-word", {"com.microsoft.Word"}},
        {"gallery-excel", {"com.microsoft.Excel"}},
        {"gallery-firefox", {"org.mozilla.firefox"}},
        {"gallery-sublime-text", {"com.sublimetext.4", "com.sublimetext.3"}},
        {"gallery-ghostty", {"com.mitchellh.ghostty"}},
        {"gallery-keepassxc", {"org.keepassxc.keepassxc"}},
    };
    return ids;
}

std::vector<Category> categories() {
    std::vector<Category> used;
    for (Category c : GalleryWheel::allCategories) {
        const auto& list = all();
        if (std::any_of(list.begin(), list.end(), [c](const GalleryWheel& g) { return g.isListedUnder(c); }))
            used.push_back(c);
    }
    return used;
}

Listing wheels(Category category) {
    Listing listed;
    for (const GalleryWheel& g : all())
        if (g.isListedUnder(category)) listed.push_back(&g);
    return listed;
}

Listing sortedWheels(Category category, const std::set<std::string>& installed) {
    Listing listed = wheels(category);
    if (category != Category::apps) return listed;
    std::stable_sort(listed.begin(), listed.end(),
                     [&installed](const GalleryWheel* a, const GalleryWheel* b) {
                         const bool aInstalled = installed.count(a->id) > 0;
                         const bool bInstalled = installed.count(b->id) > 0;
                         if (aInstalled != bInstalled) return aInstalled;
                         return byNameRank(a, b);
                     });
    return listed;
}

Listing search(std::string_view query) {
    const std::string_view trimmed = trimmedWhitespace(query);
    if (trimmed.empty()) return {};
    const std::string folded = unicode::upperCased(trimmed);
    const SearchIndex& index = searchIndex();
    const auto& list = all();
    Listing found;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (index.foldedNames[i].find(folded) != std::string::npos ||
            index.foldedSummaries[i].find(folded) != std::string::npos)
            found.push_back(&list[i]);
    }
    std::stable_sort(found.begin(), found.end(), byNameRank);
    return found;
}

Wheel sentOn(const GalleryWheel& gallery, std::string_view desktop) {
    return DesktopProgramKeys::adapted(DesktopKeystrokes::adapted(gallery.wheel), desktop);
}

Wheel makeAddable(const GalleryWheel& gallery) {
    Wheel wheel = sentOn(gallery, platform::currentDesktop());
    wheel.id = "wheel-" + asciiLowercased(Uuid::generate().text());
    for (Slice& slice : wheel.slices)
        slice.id = Uuid::generate();
    return wheel;
}

std::set<std::string> installedAppIDs(const platform::Workspace& workspace) {
    std::set<std::string> installed;
    for (const auto& [galleryId, identifiers] : appBundleIDs()) {
        for (const std::string& identifier : identifiers) {
            if (workspace.applicationPath(identifier)) {
                installed.insert(galleryId);
                break;
            }
        }
    }
    return installed;
}

} // namespace rondelix::WheelGallery
