#include "gallery/WheelGallery.h"

#include "gallery/DesktopKeystrokes.h"
#include "gallery/GalleryCatalogue.h"
#include "platform/Workspace.h"
#include "util/NameOrder.h"
#include "util/TextTrimming.h"
#include "util/UnicodeProperties.h"

#include <algorithm>
#include <array>

namespace rondelix::WheelGallery {

namespace {

// The order the gallery lists its wheels in before any sorting.
constexpr std::array<std::string_view, 61> catalogueOrder{
    "gallery-browser",          "gallery-writing",          "gallery-windows",
    "gallery-system",           "gallery-screenshots",      "gallery-emoji",
    "gallery-figma",            "gallery-photoshop",        "gallery-finalcut",
    "gallery-ai-assistants",    "gallery-quick-open",       "gallery-text-editing",
    "gallery-clipboard-edit",   "gallery-finder",           "gallery-safari",
    "gallery-preview",          "gallery-apple-mail",       "gallery-apple-messages",
    "gallery-apple-notes",      "gallery-apple-calendar",   "gallery-apple-photos",
    "gallery-apple-music",      "gallery-spotify",          "gallery-slack",
    "gallery-discord",          "gallery-zoom",             "gallery-teams",
    "gallery-chrome",           "gallery-vscode",           "gallery-xcode",
    "gallery-terminal",         "gallery-notion",           "gallery-obsidian",
    "gallery-word",             "gallery-excel",            "gallery-rectangle",
    "gallery-firefox",          "gallery-sublime-text",     "gallery-ghostty",
    "gallery-keepassxc",        "gallery-file-document",    "gallery-find-replace",
    "gallery-app-switching",    "gallery-zoom-view",        "gallery-settings-help",
    "gallery-system-navigation", "gallery-capture-clipboard", "gallery-display-media",
    "gallery-power-lock",       "gallery-google-workspace", "gallery-dev-docs",
    "gallery-search-reference", "gallery-social",           "gallery-streaming",
    "gallery-design-web",       "gallery-dev-playgrounds",  "gallery-kaomoji",
    "gallery-fancy-text",       "gallery-meme-machine",     "gallery-time-killers",
    "gallery-system-playback",
};

std::vector<GalleryWheel> buildCatalogue() {
    std::vector<GalleryWheel> built;
    built.reserve(catalogueOrder.size());
    GalleryCatalogue::addProductivityWheels(built);
    GalleryCatalogue::addSystemWheels(built);
    GalleryCatalogue::addFunWheels(built);
    GalleryCatalogue::addAppWheels(built);
    GalleryCatalogue::addAppleAppWheels(built);
    GalleryCatalogue::addWebWheels(built);

    std::vector<GalleryWheel> ordered;
    ordered.reserve(built.size());
    for (std::string_view id : catalogueOrder) {
        auto found = std::find_if(built.begin(), built.end(), [id](const GalleryWheel& g) { return g.id == id; });
        if (found != built.end()) ordered.push_back(std::move(*found));
    }
    return ordered;
}

void sortByName(std::vector<GalleryWheel>& list) {
    std::stable_sort(list.begin(), list.end(), [](const GalleryWheel& a, const GalleryWheel& b) {
        return namesAscending(a.wheel.name, b.wheel.name);
    });
}

} // namespace

const std::vector<GalleryWheel>& all() {
    static const std::vector<GalleryWheel> catalogue = buildCatalogue();
    return catalogue;
}

const std::map<std::string, std::vector<std::string>>& appBundleIDs() {
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
        {"gallery-rectangle", {"com.knollsoft.Rectangle", "com.knollsoft.Hookshot"}},
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

std::vector<GalleryWheel> wheels(Category category) {
    std::vector<GalleryWheel> listed;
    for (const GalleryWheel& g : all())
        if (g.isListedUnder(category)) listed.push_back(g);
    return listed;
}

std::vector<GalleryWheel> sortedWheels(Category category, const std::set<std::string>& installed) {
    std::vector<GalleryWheel> listed = wheels(category);
    if (category != Category::apps) return listed;
    std::stable_sort(listed.begin(), listed.end(), [&installed](const GalleryWheel& a, const GalleryWheel& b) {
        const bool aInstalled = installed.count(a.id) > 0;
        const bool bInstalled = installed.count(b.id) > 0;
        if (aInstalled != bInstalled) return aInstalled;
        return namesAscending(a.wheel.name, b.wheel.name);
    });
    return listed;
}

std::vector<GalleryWheel> search(std::string_view query) {
    const std::string_view trimmed = trimmedWhitespace(query);
    if (trimmed.empty()) return {};
    const std::string folded = unicode::upperCased(trimmed);
    auto holds = [&folded](const std::string& text) {
        return unicode::upperCased(text).find(folded) != std::string::npos;
    };
    std::vector<GalleryWheel> found;
    for (const GalleryWheel& g : all())
        if (holds(g.wheel.name) || holds(g.summary)) found.push_back(g);
    sortByName(found);
    return found;
}

Wheel makeAddable(const GalleryWheel& gallery) {
    Wheel wheel = DesktopKeystrokes::adapted(gallery.wheel);
    std::string id = Uuid::generate().text();
    std::transform(id.begin(), id.end(), id.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    wheel.id = "wheel-" + id;
    for (Slice& slice : wheel.slices) slice.id = Uuid::generate();
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
