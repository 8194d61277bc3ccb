#pragma once

#include "gallery/GalleryWheel.h"

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix::platform {
class Workspace;
} // namespace rondelix::platform

// The gallery's catalogue of ready-made wheels and the questions the gallery
// pages ask of it. Everything but installedAppIDs is pure and cheap; the
// catalogue is built once, on first use, from any thread.
namespace rondelix::WheelGallery {

using Category = GalleryWheel::Category;

// The 61 wheels in catalogue order, the tie-break of every listing. They live
// for the whole run, so the listings below hand out pointers into them.
const std::vector<GalleryWheel>& all();

using Listing = std::vector<const GalleryWheel*>;

// Gallery id to the identifiers of the application that wheel is made for,
// most preferred first; only the Apps wheels that follow an application have
// a row.
const std::map<std::string, std::vector<std::string>>& appBundleIDs();

// The categories that list at least one wheel, in declaration order.
std::vector<Category> categories();

// The wheels listed under the category, in catalogue order.
Listing wheels(Category category);

// The category's wheels as the gallery lists them: for Apps, installed ones
// first and each group by name; other categories keep catalogue order.
Listing sortedWheels(Category category, const std::set<std::string>& installed);

// Wheels whose name, or else summary, holds the trimmed query (letter case
// ignored), by name. A blank query finds nothing.
Listing search(std::string_view query);

// The wheel as it is sent on the desktop that XDG_CURRENT_DESKTOP names:
// keystrokes that only make sense on the other desktop replaced by this one's
// own, and its program's keys where they differ (see DesktopProgramKeys).
Wheel sentOn(const GalleryWheel& gallery, std::string_view desktop);

// A copy ready to be added to the user's wheels: a fresh "wheel-" id, fresh
// slice ids, and keystrokes that only make sense on the other desktop replaced
// by this desktop's own (see DesktopKeystrokes).
Wheel makeAddable(const GalleryWheel& gallery);

// The gallery ids whose application the desktop knows. Slow (it asks the
// desktop about each application): run it away from the main thread.
std::set<std::string> installedAppIDs(const platform::Workspace& workspace);

} // namespace rondelix::WheelGallery
