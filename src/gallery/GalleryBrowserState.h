#pragma once

#include "gallery/WheelGallery.h"

#include <set>
#include <string>

namespace rondelix {

// What the gallery page shows and which wheel is chosen: the category or the
// search, the selected wheel, and the applications found installed. Every
// change keeps the selection on a wheel that is listed.
class GalleryBrowserState {
  public:
    using Category = GalleryWheel::Category;

    // The first category, its first wheel (in name order for Apps), no search.
    GalleryBrowserState();

    Category selectedCategory() const { return selectedCategory_; }
    // Empty when nothing is selected.
    const std::string& selectedId() const { return selectedId_; }
    const std::string& searchText() const { return searchText_; }
    const std::set<std::string>& installedIDs() const { return installedIDs_; }

    const GalleryWheel* selected() const;
    // Only text other than white space searches.
    bool isSearching() const;
    WheelGallery::Listing displayedWheels() const;

    void setSearchText(std::string text);
    // Leaves any search and selects the category's first wheel.
    void chooseCategory(Category category);
    void chooseWheel(const std::string& id);
    // The result of the installed check: Apps is reordered and its first
    // wheel selected.
    void applyInstalled(std::set<std::string> ids);

    // A wheel made for an outside application, which gets a badge.
    static bool isAppWheel(const GalleryWheel& gallery);
    // How many actions the wheel brings on the desktop, counted as its review
    // counts them: "6 actions".
    static std::string actionCount(const GalleryWheel& gallery, std::string_view desktop);
    bool isInstalled(const GalleryWheel& gallery) const { return installedIDs_.count(gallery.id) > 0; }

  private:
    void syncSelectionToDisplayed();

    Category selectedCategory_ = Category::productivity;
    std::string selectedId_;
    std::string searchText_;
    std::set<std::string> installedIDs_;
};

} // namespace rondelix
