#pragma once

#include <string>

// The onboarding's own sentences that depend on the state they describe.
namespace rondelix::OnboardingTexts {

// What a permission row says when the grant is missing: on this desktop the
// grant comes with an X11 session, so there is nothing to switch on.
inline constexpr const char* noGlobalInput =
    "Rondelix needs an X11 session to hear your summon keys; this session doesn't provide one.";

// Under the welcome's Summon row.
std::string summonRow(const std::string& phrase);

// The ready step's body when everything is in place; the phrase is shown bold.
std::string readyBody(const std::string& phrase);

// What still works while a grant is missing; where the program can be
// reached depends on whether the desktop has a system tray.
std::string degradedStateNote(bool accessibilityGranted, bool trayShown);

// Where the program stays once its windows are closed.
std::string whereItLives(bool trayShown);

// The permissions step: its title, and the line under its two rows.
std::string permissionsTitle(bool bothAvailable);
std::string permissionsFooter(bool bothAvailable);

} // namespace rondelix::OnboardingTexts
