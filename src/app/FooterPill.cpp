#include "app/FooterPill.h"

#include "model/SystemColors.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace rondelix {

namespace {

// The desktop's standard orange and green.
constexpr Color systemGreen{52 / 255.0, 199 / 255.0, 89 / 255.0};

double toLinear(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double toGamma(double c) {
    c = std::clamp(c, 0.0, 1.0);
    return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1 / 2.4) - 0.055;
}

using Triple = std::array<double, 3>;

// Oklab, whose lightness axis runs straight to black: mixing with black there
// scales every coordinate by the same factor.
Triple toOklab(const Color& c) {
    const double r = toLinear(c.red), g = toLinear(c.green), b = toLinear(c.blue);
    const double l = std::cbrt(0.4122214708 * r + 0.5363325363 * g + 0.0514459929 * b);
    const double m = std::cbrt(0.2119034982 * r + 0.6806995451 * g + 0.1073969566 * b);
    const double s = std::cbrt(0.0883024619 * r + 0.2817188376 * g + 0.6299787005 * b);
    return {0.2104542553 * l + 0.7936177850 * m - 0.0040720468 * s,
            1.9779984951 * l - 2.4285922050 * m + 0.4505937099 * s,
            0.0259040371 * l + 0.7827717662 * m - 0.8086757660 * s};
}

Color fromOklab(const Triple& lab, double opacity) {
    const double l = std::pow(lab[0] + 0.3963377774 * lab[1] + 0.2158037573 * lab[2], 3);
    const double m = std::pow(lab[0] - 0.1055613458 * lab[1] - 0.0638541728 * lab[2], 3);
    const double s = std::pow(lab[0] - 0.0894841775 * lab[1] - 1.2914855480 * lab[2], 3);
    return {toGamma(4.0767416621 * l - 3.3077115913 * m + 0.2309699292 * s),
            toGamma(-1.2684380046 * l + 2.6097574011 * m - 0.3413193965 * s),
            toGamma(-0.0041960863 * l - 0.7034186147 * m + 1.7076147010 * s), opacity};
}

} // namespace

FooterStatus footerStatus(const FooterFacts& facts) {
    if (!facts.accessibilityTrusted || !facts.inputMonitoringTrusted) return FooterStatus::permissionsNeeded;
    if (facts.missingShortcuts > 0) return FooterStatus::systemActions;
    return FooterStatus::ready;
}

FooterLook footerLook(FooterStatus status, std::size_t missingShortcuts) {
    switch (status) {
    case FooterStatus::permissionsNeeded:
        return {"exclamationmark.shield.fill", "Permissions Needed", "Click to grant access",
                darkenedForPill(SystemColors::orange, 0.12), true};
    case FooterStatus::systemActions:
        return {"exclamationmark.triangle.fill", "System Actions",
                std::to_string(missingShortcuts) + " to set up", darkenedForPill(SystemColors::orange, 0.12),
                true};
    case FooterStatus::ready:
        break;
    }
    return {"checkmark.circle.fill", "Ready", "All permissions granted", darkenedForPill(systemGreen, 0.2),
            false};
}

FooterDestination footerDestination(FooterStatus status) {
    switch (status) {
    case FooterStatus::permissionsNeeded:
        return FooterDestination::onboardingPermissions;
    case FooterStatus::systemActions:
        return FooterDestination::shortcutSetup;
    case FooterStatus::ready:
        break;
    }
    return FooterDestination::onboardingWelcome;
}

Color darkenedForPill(const Color& colour, double fraction) {
    const double keep = 1.0 - std::clamp(fraction, 0.0, 1.0);
    Triple lab = toOklab(colour);
    for (double& coordinate : lab)
        coordinate *= keep;
    return fromOklab(lab, colour.opacity);
}

FooterPill::FooterPill(platform::MainQueue& queue) : queue_(queue) {}

FooterPill::~FooterPill() {
    removal_.cancel();
}

bool FooterPill::fadeWanted(const FooterFacts& facts) {
    return footerStatus(facts) == FooterStatus::ready && !facts.shortcutSetupOpen;
}

void FooterPill::shown(const FooterFacts& facts) {
    facts_ = facts;
    everShown_ = true;
    if (fadeWanted(facts_))
        beginFade();
    else
        resetFade();
}

void FooterPill::update(const FooterFacts& facts) {
    if (!everShown_) {
        shown(facts);
        return;
    }
    const bool wasGone = gone();
    const bool wanted = fadeWanted(facts_);
    facts_ = facts;
    if (wasGone && !gone()) {
        // Back in the sidebar: it shows afresh.
        shown(facts);
        return;
    }
    if (fadeWanted(facts_) == wanted) return;
    if (fadeWanted(facts_))
        beginFade();
    else
        resetFade();
}

void FooterPill::beginFade() {
    const int token = ++fadeToken_;
    if (onFade) onFade({0.0, fadeOutSeconds});
    // An earlier removal would find its token stale anyway; dropping it keeps
    // nothing scheduled that points at this pill.
    removal_.cancel();
    removal_ = queue_.after(fadeOutSeconds, [this, token] {
        if (fadeToken_ == token) setGone(true);
    });
}

void FooterPill::resetFade() {
    ++fadeToken_;
    removal_.cancel();
    if (onFade) onFade({1.0, fadeInSeconds});
    setGone(false);
}

void FooterPill::setGone(bool gone) {
    if (gone_ == gone) return;
    gone_ = gone;
    if (onGoneChanged) onGoneChanged();
}

} // namespace rondelix
