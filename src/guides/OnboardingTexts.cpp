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

std::string degradedStateNote(bool accessibilityGranted) {
    const std::string lead =
        "You can grant the remaining permissions anytime from the tray icon \u2192 Grant "
        "Permissions. ";
    return lead + (accessibilityGranted ? "Until then the hotkey only fires while Rondelix is focused."
                                        : "Until then the wheel won't open.");
}

} // namespace rondelix::OnboardingTexts
