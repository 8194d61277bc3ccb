#include "app/OnboardingState.h"

#include "app/DefaultsKeys.h"

namespace rondelix::OnboardingState {

void migrateLegacyCompletion(platform::UserDefaults& defaults) {
    if (defaults.get(DefaultsKeys::hasCompletedOnboarding) &&
        !defaults.hasStoredValue(DefaultsKeys::onboardingSkipped))
        defaults.set(DefaultsKeys::onboardingSkipped, true);
}

OnboardingStep resumeStep(const platform::UserDefaults& defaults) {
    switch (defaults.get(DefaultsKeys::onboardingResumeStep)) {
    case 1:
        return OnboardingStep::permissions;
    case 2:
        return OnboardingStep::ready;
    default:
        return OnboardingStep::welcome;
    }
}

} // namespace rondelix::OnboardingState
