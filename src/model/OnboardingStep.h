#pragma once

namespace rondelix {

// The onboarding window's steps, in order.
enum class OnboardingStep { welcome, permissions, ready };

} // namespace rondelix
