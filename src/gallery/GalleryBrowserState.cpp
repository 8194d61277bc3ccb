#include "gallery/GalleryBrowserState.h"

#include "util/TextTrimming.h"

#include <algorithm>
#include <string>

namespace rondelix {

GalleryBrowserState::GalleryBrowserState() {
    const auto categories = WheelGallery::categories();
    selectedCategory_ = categories.empty() ? Category::productivity : categories.front();
    const auto first = categories.empty() ? WheelGallery::wheels(Category::productivity)
                                          : WheelGallery::sortedWheels(selectedCategory_, {});
    if (!first.empty())
        selectedId_ = first.front()->id;
    else if (!WheelGallery::all().empty())
        selectedId_ = WheelGallery::all().front().id;
}

const GalleryWheel* GalleryBrowserState::selected() const {
    const auto& all = WheelGallery::all();
    const auto found =
        std::find_if(all.begin(), all.end(), [this](const GalleryWheel& g) { return g.id == selectedId_; });
    return found == all.end() ? nullptr : &*found;
}

bool GalleryBrowserState::isSearching() const {
    return !trimmedWhitespace(searchText_).empty();
}

WheelGallery::Listing GalleryBrowserState::displayedWheels() const {
    if (isSearching()) return WheelGallery::search(searchText_);
    return WheelGallery::sortedWheels(selectedCategory_, installedIDs_);
}

void GalleryBrowserState::setSearchText(std::string text) {
    if (text == searchText_) return;
    searchText_ = std::move(text);
    syncSelectionToDisplayed();
}

void GalleryBrowserState::chooseCategory(Category category) {
    searchText_.clear();
    selectedCategory_ = category;
    const auto listed = WheelGallery::sortedWheels(category, installedIDs_);
    if (!listed.empty()) selectedId_ = listed.front()->id;
    syncSelectionToDisplayed();
}

void GalleryBrowserState::chooseWheel(const std::string& id) {
    selectedId_ = id;
}

void GalleryBrowserState::applyInstalled(std::set<std::string> ids) {
    installedIDs_ = std::move(ids);
    if (selectedCategory_ != Category::apps) return;
    const auto listed = displayedWheels();
    if (!listed.empty()) selectedId_ = listed.front()->id;
}

bool GalleryBrowserState::isAppWheel(const GalleryWheel& gallery) {
    return WheelGallery::appBundleIDs().count(gallery.id) > 0;
}

std::string GalleryBrowserState::actionCount(const GalleryWheel& gallery, std::string_view desktop) {
    return std::to_string(WheelGallery::sentOn(gallery, desktop).slices.size()) + " actions";
}

void GalleryBrowserState::syncSelectionToDisplayed() {
    const auto listed = displayedWheels();
    if (std::any_of(listed.begin(), listed.end(),
                    [this](const GalleryWheel* g) { return g->id == selectedId_; }))
        return;
    selectedId_ = listed.empty() ? std::string() : listed.front()->id;
}

} // namespace rondelix
