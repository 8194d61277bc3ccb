#include "gallery/DesktopProgramKeys.h"

#include "gallery/GalleryCatalogue.h"
#include "platform/CurrentDesktop.h"

#include <algorithm>

namespace rondelix::DesktopProgramKeys {

const std::vector<Change>& table() {
    // clang-format off
    static const std::vector<Change> rows{
        // Xfce's image viewer turns a picture with Ctrl+] and Ctrl+[, saves a
        // copy with Ctrl+S and shows its properties from the menu alone: there
        // the Info slot turns the picture the other way.
        {"XFCE", "gallery-apple-photos", "Rotate", "Rotate", "", "⌘]"},
        {"XFCE", "gallery-apple-photos", "Save As", "Save a\nCopy", "", "⌘S"},
        {"XFCE", "gallery-apple-photos", "Info", "Rotate\nLeft", "rotate.left", "⌘["},
        // Plasma's file manager starts selecting on Space and opens a tab on
        // Ctrl+Shift+N; its information panel shows the selected file.
        {"KDE", "gallery-finder", "Preview", "Information", "", "F11"},
        {"KDE", "gallery-finder", "New Folder", "New Folder", "", "F10"},
        // Its image viewer reloads on F5 and starts a slideshow from the menu
        // alone; Right steps to the next picture.
        {"KDE", "gallery-apple-photos", "Slideshow", "Next", "chevron.forward", "→"},
        // Its document viewer shows the sidebar with F7 and turns the page and
        // fits the width from the menu alone (Ctrl+Right goes to the next page).
        {"KDE", "gallery-preview", "Rotate\nLeft", "", "", ""},
        {"KDE", "gallery-preview", "Rotate\nRight", "", "", ""},
        {"KDE", "gallery-preview", "Side Pane", "Side Pane", "", "F7"},
        {"KDE", "gallery-preview", "Fit Width", "", "", ""},
        // The window managers' stock keys where they differ from the shared
        // ones. KWin maximizes on Super+Page Up and restores with the same key,
        // and moves a window on no key.
        {"KDE", "gallery-rectangle", "Maximize", "Maximize", "", "❖⇞"},
        {"KDE", "gallery-rectangle", "Move", "", "", ""},
        {"KDE", "gallery-rectangle", "Restore", "", "", ""},
        // GNOME's Super+Up and Super+Down maximize and restore; it tiles only
        // the left and right halves.
        {"GNOME", "gallery-rectangle", "Top\nHalf", "", "", ""},
        {"GNOME", "gallery-rectangle", "Maximize", "Maximize", "", "❖↑"},
        {"GNOME", "gallery-rectangle", "Bottom\nHalf", "", "", ""},
        // Xfce tiles on Super and the keypad's arrows; Alt+F10 maximizes and
        // restores, and no key moves a window to another display.
        {"XFCE", "gallery-rectangle", "Top\nHalf", "Top\nHalf", "", "❖⌨8"},
        {"XFCE", "gallery-rectangle", "Right\nHalf", "Right\nHalf", "", "❖⌨6"},
        {"XFCE", "gallery-rectangle", "Bottom\nHalf", "Bottom\nHalf", "", "❖⌨2"},
        {"XFCE", "gallery-rectangle", "Left\nHalf", "Left\nHalf", "", "❖⌨4"},
        {"XFCE", "gallery-rectangle", "Next\nDisplay", "", "", ""},
        {"XFCE", "gallery-rectangle", "Restore", "", "", ""},
        // MATE's window manager tiles the left and right halves on the shared
        // keys and restores with Super+Down, where Alt+F5 does nothing; it has
        // no top or bottom half and changes displays on no key.
        {"MATE", "gallery-rectangle", "Top\nHalf", "", "", ""},
        {"MATE", "gallery-rectangle", "Bottom\nHalf", "", "", ""},
        {"MATE", "gallery-rectangle", "Next\nDisplay", "", "", ""},
        {"MATE", "gallery-rectangle", "Restore", "Restore", "", "❖↓"},
    };
    // clang-format on
    return rows;
}

Wheel adapted(const Wheel& wheel, std::string_view currentDesktop) {
    Wheel result = wheel;
    for (const Change& change : table()) {
        if (change.galleryId != wheel.id || !platform::namesDesktop(currentDesktop, change.desktop)) continue;
        const auto slice = std::find_if(result.slices.begin(), result.slices.end(),
                                        [&change](const Slice& s) { return s.label == change.label; });
        if (slice == result.slices.end()) continue;
        if (change.written.empty()) {
            result.slices.erase(slice);
            continue;
        }
        slice->label = std::string(change.newLabel);
        if (!change.newSymbol.empty()) slice->icon = Icon::SfSymbol{std::string(change.newSymbol)};
        slice->action = GalleryCatalogue::key(change.written);
    }
    return result;
}

} // namespace rondelix::DesktopProgramKeys
