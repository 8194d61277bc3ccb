#include "settings/Changelog.h"

namespace rondelix {

const std::vector<ChangelogEntry>& changelogEntries() {
    static const std::vector<ChangelogEntry> entries{
        {"0.4.1.174", "Dec 8, 2026",
         "Print Screen, Scroll Lock and Pause are now keys of their own in summon bindings and keystroke "
         "slices, no longer taken for F13, F14 and F15. A binding or keystroke recorded from one of them in "
         "the previous version now reads F13, F14 or F15: record it again."},
        {"0.4.1.173", "Jul 16, 2026",
         "Rondelix now runs on the GNOME, KDE Plasma, Xfce, MATE and Cinnamon desktops, alongside a large "
         "accessibility and polish pass: HUD toasts, clearer action-failure messages, support for your "
         "desktop's reduced motion and high contrast, and a draggable appearance preview."},
        {"0.4.1.154", "Jun 28, 2026",
         "The Rondelix slice action is now a menu: jump straight to any page (My Wheels, Gallery, the "
         "Settings panes) or flip a quick setting (Pause Summon, Frosted Glass, Sound, Detect App) right "
         "from a wheel. Plus a cleaner, calmer slice editor."},
        {"0.4.1.152", "Jun 28, 2026",
         "One-click setup for the Bluetooth, Do Not Disturb and Night Light toggles. The Set Up System "
         "Actions screen now installs each automation for you, so the matching wheel slices just work."},
        {"0.4.1.149", "Jun 27, 2026",
         "Many more one-click system toggles (desktop icons, hidden files, Night Light, Wi-Fi, Bluetooth, "
         "and more), grouped action menus, and a bigger set of script examples."},
        {"0.4.1.145", "Jun 27, 2026",
         "Import and export wheels with a clearer safety check, a redesigned icon picker, more readable "
         "buttons, and assorted polish and fixes."},
        {"0.4.1.141", "Jun 26, 2026",
         "Tap Shift to step back through your wheels without holding Shift+Tab, plus clearer Behavior "
         "setting descriptions and a Frosted Glass readability fix in the editor."},
        {"0.4.1.138", "Jun 22, 2026",
         "Added this changelog (click the version anytime to see it), and made Light mode fully readable."},
        {"0.4.1.127", "Jun 21, 2026", "Public beta."},
        {"0.4.1.124", "Jun 20, 2026",
         "The first wheel summon after launch is now instant, plus reliability and UI polish."},
        {"0.4.1.116", "Jun 19, 2026",
         "Importing a shared wheel that can run code now asks for your consent first."},
        {"0.4.1.110", "Jun 18, 2026",
         "Added a release-grace window so the wheel stays open briefly if you let go a touch early."},
        {"0.4.1.109", "Jun 18, 2026", "Redesigned the About page and added a How It Works walkthrough."},
        {"0.4.1.108", "Jun 17, 2026",
         "You can now share individual wheels as .rondix files, with a cleaner Add-to-My-Wheels sheet."},
        {"0.4.1.95", "Jun 16, 2026",
         "Expanded the Wheel Gallery, clarified settings, and fixed a batch of reliability issues."},
        {"0.4.1.89", "Jun 16, 2026",
         "The Wheel Gallery grew to ~60 ready-made wheels, with app install-detection and search."},
        {"0.4.1.84", "Jun 14, 2026", "Updates now come through your system's package manager."},
        {"0.4.1.62", "Jun 12, 2026", "Fixed the global hotkey failing to register on some clean installs."},
        {"0.4.0", "Jun 11, 2026", "Added the Wheel Gallery of ready-made wheels, and Email Diagnostics."},
        {"0.3.0", "Jun 10, 2026",
         "Added mouse-button and chord summon triggers, an About overhaul, and a hidden developer pane."},
        {"0.3.0", "Jun 9, 2026",
         "Major UI redesign: sidebar navigation, Frosted Glass panels, drag-to-reorder, and live undo/redo."},
        {"0.2.1", "Jun 2, 2026",
         "Alpha release: real site favicons, summon combos, the Essentials wheel, and unlimited wheels."},
        {"0.1.0", "May 30, 2026",
         "Added first-run onboarding, Sticky Aim, icon pickers, and a live wheel-size preview."},
        {"0.1.0", "May 28, 2026",
         "Rondelix began: a radial launcher for Linux desktops you summon with a hotkey, aim, and release "
         "to fire."},
    };
    return entries;
}

} // namespace rondelix
