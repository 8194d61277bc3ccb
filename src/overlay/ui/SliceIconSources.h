#pragma once

#include "icons/ui/StoredIconImages.h"
#include "overlay/IconCache.h"

#include <QIcon>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>

namespace rondelix {

class FaviconImages;
class StoredIconRedraws;

// Where the pictures on slices come from: applications' icons through their
// desktop entries, the user's images from the icon folder, and websites'
// icons. Pictures found are kept, so redrawing on every aim change touches
// neither the desktop's icon lookup nor the disk; an application found
// without an icon is not looked for again until forgetMissingApplications().
// The program makes one and hands it to every wheel it draws. Main thread only.
class SliceIconSources {
  public:
    // Where the desktop finds the application an identifier stands for (its
    // own entry, or the entry of its equivalent here); icons come from there.
    using ApplicationResolver = std::function<std::optional<std::string>(const std::string& identifier)>;

    explicit SliceIconSources(ApplicationResolver resolver = {}, FaviconImages* favicons = nullptr,
                              StoredIconRedraws* redraws = nullptr);

    // The icon of an application, or null when the desktop has none for it.
    const QIcon* appIcon(const std::optional<std::string>& desktopId, const std::optional<std::string>& path);
    // Looks again for the applications that had no icon, as one installed
    // since may have one now.
    void forgetMissingApplications();
    // The user's image of that name, or null when it cannot be loaded or
    // is still being drawn anew.
    const QIcon* customImage(const std::string& filename);
    StoredIconImages& storedImages() { return stored_; }
    // The websites' icons; none where the program fetches none.
    FaviconImages* favicons() const { return favicons_; }

    const IconCache<QIcon>& cache() const { return cache_; }

  private:
    ApplicationResolver resolver_;
    FaviconImages* favicons_;
    StoredIconImages stored_;
    IconCache<QIcon> cache_;
    std::unordered_set<std::string> missingApplications_;
};

} // namespace rondelix
