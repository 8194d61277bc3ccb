#pragma once

#include "model/Color.h"
#include "platform/MainQueue.h"

#include <cstddef>
#include <functional>
#include <string>

namespace rondelix {

// What the status pill under the sidebar reports, most urgent first.
enum class FooterStatus { permissionsNeeded, systemActions, ready };

// The facts the pill is drawn from, read from the coordinator each time one
// of them changes.
struct FooterFacts {
    bool accessibilityTrusted = false;
    bool inputMonitoringTrusted = false;
    std::size_t missingShortcuts = 0;
    bool shortcutSetupOpen = false;
};

FooterStatus footerStatus(const FooterFacts& facts);

// How the pill looks for a status.
struct FooterLook {
    std::string symbol;
    std::string title;
    std::string subtitle;
    Color colour;
    // Attention states lead somewhere; the ready pill only reassures.
    bool chevron = false;
};
FooterLook footerLook(FooterStatus status, std::size_t missingShortcuts);

// Where a click on the pill leads.
enum class FooterDestination { onboardingPermissions, shortcutSetup, onboardingWelcome };
FooterDestination footerDestination(FooterStatus status);

// The colour moved towards black by `fraction` (0 leaves it, 1 gives black),
// mixed in a perceptual space so that the shade keeps its hue.
Color darkenedForPill(const Color& colour, double fraction);

// The ready pill's fade: once everything is in order (and the setup window is
// not open) it fades out over 15 s and then leaves the sidebar; any step
// away from that state brings it back at full opacity. A fade's removal acts
// only while no later fade or reset has superseded it.
class FooterPill {
  public:
    static constexpr double fadeOutSeconds = 15.0;
    static constexpr double fadeInSeconds = 0.2;

    struct Fade {
        double opacity;
        double seconds;
    };

    explicit FooterPill(platform::MainQueue& queue);
    ~FooterPill();
    FooterPill(const FooterPill&) = delete;
    FooterPill& operator=(const FooterPill&) = delete;

    // The pill shows facts for the first time, or again after it was gone.
    void shown(const FooterFacts& facts);
    // Some fact changed while the pill is in the sidebar.
    void update(const FooterFacts& facts);

    FooterStatus status() const { return footerStatus(facts_); }
    const FooterFacts& facts() const { return facts_; }
    // The ready pill has faded out completely and takes no room.
    bool gone() const { return gone_ && status() == FooterStatus::ready; }

    // The opacity to animate to and over how long; set by the view.
    std::function<void(Fade)> onFade;
    // The pill left or came back to the sidebar.
    std::function<void()> onGoneChanged;

  private:
    static bool fadeWanted(const FooterFacts& facts);
    void beginFade();
    void resetFade();
    void setGone(bool gone);

    platform::MainQueue& queue_;
    FooterFacts facts_;
    bool everShown_ = false;
    bool gone_ = false;
    int fadeToken_ = 0;
    platform::Cancel removal_;
};

} // namespace rondelix
