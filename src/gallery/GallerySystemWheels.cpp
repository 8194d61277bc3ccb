#include "gallery/GalleryCatalogue.h"

namespace rondelix::GalleryCatalogue {

void addSystemWheels(std::vector<GalleryWheel>& out) {
    // Raising and lowering sit opposite each other, left and right.
    out.push_back(define({"gallery-system",
                          "System Controls",
                          Category::system,
                          {},
                          "Dark mode, volume, brightness, and lock. All built in, no setup."},
                         {
                             {"Dark Mode", "moon.fill", system("toggle-dark-mode")},
                             {"Mute", "speaker.slash.fill", system("toggle-mute")},
                             {"Volume Up", "speaker.wave.3.fill", system("volume-up")},
                             {"Brightness Up", "sun.max.fill", system("brightness-up")},
                             {"Lock Screen", "lock.fill", system("lock-screen")},
                             {"Brightness Down", "sun.min", system("brightness-down")},
                             {"Volume Down", "speaker.wave.1.fill", system("volume-down")},
                             {"Sleep Display", "powersleep", system("sleep-display")},
                         }));

    out.push_back(define({"gallery-screenshots",
                          "Screenshots",
                          Category::system,
                          {},
                          "Grab a region, the whole screen, or the capture toolbar."},
                         {
                             {"Region", "rectangle.dashed", key("⇧⌘4")},
                             {"Full Screen", "rectangle.inset.filled", key("⇧⌘3")},
                             {"Toolbar", "camera.viewfinder", system("screenshot")},
                             {"Region →\nClipboard", "doc.on.clipboard", key("⌃⇧⌘4")},
                         }));

    out.push_back(
        define({"gallery-system-navigation",
                "System Navigation",
                Category::system,
                {},
                "Search, switch apps, show the desktop, and lock up without reaching for the menus."},
               {
                   {"Search", "magnifyingglass", key("⌘Space")},
                   {"Switch App", "square.on.square", key("⌘⇥")},
                   {"Show\nDesktop", "menubar.dock.rectangle", key("F11")},
                   {"Lock\nScreen", "lock.fill", key("⌃⌘Q")},
                   {"Force Quit", "xmark.octagon.fill", key("⌥⌘⎋")},
                   {"Log Out", "rectangle.portrait.and.arrow.right", key("⇧⌘Q")},
                   {"Next\nWindow", "macwindow.on.rectangle", key("⌘`")},
               }));

    out.push_back(define({"gallery-capture-clipboard",
                          "Capture to Clipboard",
                          Category::system,
                          {},
                          "Capture region or full screen straight to the clipboard, then paste."},
                         {
                             {"Region →\nClipboard", "doc.on.clipboard", key("⌃⇧⌘4")},
                             {"Full →\nClipboard", "doc.on.clipboard.fill", key("⌃⇧⌘3")},
                             {"Region →\nFile", "rectangle.dashed", key("⇧⌘4")},
                             {"Capture\nToolbar", "camera.viewfinder", system("screenshot")},
                             {"Copy", "doc.on.doc", key("⌘C")},
                             {"Paste", "doc.on.clipboard", key("⌘V")},
                         }));

    out.push_back(define({"gallery-display-media",
                          "Display & Media",
                          Category::system,
                          {},
                          "Brightness, dark mode, and volume in one wheel, all built in, no setup."},
                         {
                             {"Brightness\nUp", "sun.max.fill", system("brightness-up")},
                             {"Volume Up", "speaker.wave.3.fill", system("volume-up")},
                             {"Dark Mode", "moon.fill", system("toggle-dark-mode")},
                             {"Mute", "speaker.slash.fill", system("toggle-mute")},
                             {"Volume\nDown", "speaker.wave.1.fill", system("volume-down")},
                             {"Brightness\nDown", "sun.min", system("brightness-down")},
                         }));

    out.push_back(define({"gallery-power-lock",
                          "Power & Lock",
                          Category::system,
                          {},
                          "Lock, sleep the display, log out, force quit, and show the desktop."},
                         {
                             {"Lock\nScreen", "lock.fill", system("lock-screen")},
                             {"Sleep\nDisplay", "powersleep", system("sleep-display")},
                             {"Log Out", "rectangle.portrait.and.arrow.right", key("⇧⌘Q")},
                             {"Force\nQuit", "xmark.octagon.fill", key("⌥⌘⎋")},
                             {"Show\nDesktop", "menubar.dock.rectangle", key("F11")},
                             {"Search", "magnifyingglass", key("⌘Space")},
                         }));

    out.push_back(define({"gallery-system-playback",
                          "System Playback",
                          Category::music,
                          {},
                          "Play, skip, and adjust whatever's playing, any app, no setup."},
                         {
                             {"Play\nPause", "playpause.fill", system("media-playpause")},
                             {"Volume\nUp", "speaker.wave.3.fill", system("volume-up")},
                             {"Next", "forward.fill", system("media-next")},
                             {"Mute", "speaker.slash.fill", system("toggle-mute")},
                             {"Previous", "backward.fill", system("media-previous")},
                             {"Volume\nDown", "speaker.wave.1.fill", system("volume-down")},
                         }));
}

} // namespace rondelix::GalleryCatalogue
