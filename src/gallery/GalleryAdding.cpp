#include "gallery/GalleryAdding.h"

#include "gallery/WheelGallery.h"
#include "platform/Workspace.h"

#include <algorithm>

namespace rondelix {

std::string uniqueWheelName(const std::string& name, const std::vector<std::string>& existing) {
    auto taken = [&existing](const std::string& candidate) {
        return std::find(existing.begin(), existing.end(), candidate) != existing.end();
    };
    if (!taken(name)) return name;
    // More numbers than names cannot all be taken.
    for (std::size_t n = 2; n <= existing.size() + 2; ++n) {
        std::string candidate = name + " " + std::to_string(n);
        if (!taken(candidate)) return candidate;
    }
    return name;
}

Wheel wheelToAdd(const GalleryWheel& gallery, const std::vector<std::string>& existingNames,
                 const platform::Workspace& workspace) {
    Wheel wheel = WheelGallery::makeAddable(gallery);
    const auto& table = WheelGallery::appBundleIDs();
    if (const auto row = table.find(gallery.id); row != table.end() && !row->second.empty()) {
        const auto& ids = row->second;
        const auto installed = std::find_if(ids.begin(), ids.end(), [&workspace](const std::string& id) {
            return workspace.applicationPath(id).has_value();
        });
        wheel.appBundleIdentifier = installed != ids.end() ? *installed : ids.front();
    }
    wheel.name = uniqueWheelName(wheel.name, existingNames);
    return wheel;
}

} // namespace rondelix
