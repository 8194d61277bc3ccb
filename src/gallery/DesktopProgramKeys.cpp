#include "gallery/DesktopProgramKeys.h"

#include "gallery/GalleryCatalogue.h"
#include "platform/CurrentDesktop.h"

namespace rondelix::DesktopProgramKeys {

const std::vector<Change>& table() {
    // Xfce's image viewer turns a picture with Ctrl+] and Ctrl+[, saves a copy
    // with Ctrl+S and shows its properties from the menu alone: there the
    // Info slot turns the picture the other way.
    static const std::vector<Change> rows{
        {"XFCE", "gallery-apple-photos", "Rotate", "Rotate", "", "⌘]"},
        {"XFCE", "gallery-apple-photos", "Save As", "Save a\nCopy", "", "⌘S"},
        {"XFCE", "gallery-apple-photos", "Info", "Rotate\nLeft", "rotate.left", "⌘["},
    };
    return rows;
}

Wheel adapted(const Wheel& wheel, std::string_view currentDesktop) {
    Wheel result = wheel;
    for (const Change& change : table()) {
        if (change.galleryId != wheel.id || !platform::namesDesktop(currentDesktop, change.desktop)) continue;
        for (Slice& slice : result.slices) {
            if (slice.label != change.label) continue;
            slice.label = std::string(change.newLabel);
            if (!change.newSymbol.empty()) slice.icon = Icon::SfSymbol{std::string(change.newSymbol)};
            slice.action = GalleryCatalogue::key(change.written);
        }
    }
    return result;
}

} // namespace rondelix::DesktopProgramKeys
