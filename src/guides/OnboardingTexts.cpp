#include "guides/OnboardingTexts.h"

namespace rondelix::OnboardingTexts {

std::string summonRow(const std::string& phrase) {
    return "Hold " + phrase + " for a moment to open the wheel.";
}

std::string readyBody(const std::string& phrase) {
    return "Hold " + phrase +
           ", aim with the arrow keys, and release to fire. Switch between wheels with Tab, the number keys "
           "1\u20139 (0 for the tenth), or by scrolling.";
}

std::string degradedStateNote(bool accessibilityGranted, bool trayShown) {
    const std::string lead =
        trayShown
            ? "Once you are in an X11 session, check again from the tray icon \u2192 Grant Permissions. "
            : "Once you are in an X11 session, start Rondelix there. ";
    return lead + (accessibilityGranted ? "Until then the hotkey only fires while Rondelix is focused."
                                        : "Until then the wheel won't open.");
}

std::string whereItLives(bool trayShown) {
    if (trayShown)
        return "Rondelix lives in your system tray. Click its icon for Settings, My Wheels, or to reopen "
               "this "
               "guide (Setup Guide). It has no taskbar entry when its windows are closed.";
    return "This desktop has no system tray, so Rondelix opens its window at start. Closing the window "
           "leaves it running for your summon keys; start Rondelix again to bring the window back.";
}

std::string permissionsTitle(bool bothAvailable) {
    return bothAvailable ? "Two things the wheel uses" : "Global input is missing";
}

std::string permissionsFooter(bool bothAvailable) {
    return bothAvailable
               ? "Both come with your X11 session: there is nothing to switch on."
               : "Under Wayland a program cannot hear keys pressed in other programs. Log in to an "
                 "X11 session (often \u201CXorg\u201D at the login screen) to use the wheel everywhere.";
}

} // namespace rondelix::OnboardingTexts
