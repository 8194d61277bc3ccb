#pragma once

#include "model/OnboardingStep.h"

namespace rondelix {

namespace platform {
class UserDefaults;
}

// The onboarding progress kept in the user defaults.
namespace OnboardingState {

// Onboardings completed before the skipped flag existed count as skipped, so
// that the permission rescue never reopens them.
void migrateLegacyCompletion(platform::UserDefaults& defaults);

// Where the onboarding window reopens: "onboardingResumeStep" 1 is the
// permissions step, 2 the ready step, anything else the welcome step.
OnboardingStep resumeStep(const platform::UserDefaults& defaults);

} // namespace OnboardingState
} // namespace rondelix
