#include "overlay/HUD.h"

#include "overlay/OverlayPlacement.h"

namespace rondelix {

HUD::HUD(platform::MainQueue& queue, const platform::Screens& screens, SurfaceFactory makeSurface)
    : queue_(queue), screens_(screens), makeSurface_(std::move(makeSurface)) {}

HUD::~HUD() {
    lifetime_.end();
    dismissWork_.cancel();
}

void HUD::flash(const std::string& text, const std::string& systemImage,
                const std::optional<std::string>& tintHex) {
    dismissWork_.cancel();
    ++flashGeneration_;
    if (!panel_) panel_ = makeSurface_();

    const platform::Size size = panel_->setContent(text, systemImage, tintHex);
    // Centred on the whole frame of the pointer's screen, panels included.
    const auto screen = OverlayPlacement::screenFor(screens_, screens_.pointerLocation());
    if (screen)
        panel_->setOrigin({screen->frame.midX() - size.width / 2, screen->frame.midY() - size.height / 2});

    panel_->setAlpha(0);
    panel_->orderFront();
    panel_->animateAlpha(1, fadeInSeconds);
    dismissWork_ = queue_.after(showSeconds, [alive = lifetime_.watch(), this] {
        if (alive) dismiss();
    });
}

void HUD::dismiss() {
    if (!panel_) return;
    const int generation = flashGeneration_;
    panel_->animateAlpha(0, fadeOutSeconds);
    queue_.after(fadeOutSeconds, [alive = lifetime_.watch(), this, generation] {
        // A flash that came during the fade-out keeps the bubble up.
        if (alive && flashGeneration_ == generation && panel_) panel_->orderOut();
    });
}

} // namespace rondelix
