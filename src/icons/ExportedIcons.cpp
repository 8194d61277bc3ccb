#include "icons/ExportedIcons.h"

#include "icons/Base64.h"
#include "icons/IconStore.h"
#include "util/Uuid.h"

namespace rondelix {

void embedIcons(Wheel& wheel, const std::filesystem::path& iconsFolder, ExportedIcons& icons) {
    for (auto& slice : wheel.slices) {
        const auto* custom = slice.icon.as<Icon::CustomImage>();
        if (!custom || !IconStore::isUsableFilename(custom->filename)) continue;
        const auto bytes = IconStore::load(iconsFolder, custom->filename);
        if (!bytes) continue;
        std::string name = custom->filename;
        if (!IconStore::isManagedFilename(name)) {
            name = Uuid::generate().text() + ".png";
            slice.icon = Icon::CustomImage{name};
        }
        icons[name] = Base64::encode(*bytes);
    }
}

} // namespace rondelix
