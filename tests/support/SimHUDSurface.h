#pragma once

#include "overlay/HUDSurface.h"

#include <memory>

namespace rondelix::testsupport {

// A bubble that records what the HUD asked of it; its size grows with the text
// the way a real one does.
struct SimHUDRecord {
    std::string text;
    std::string systemImage;
    std::optional<std::string> tintHex;
    platform::Point origin{-1, -1};
    double alpha = 1.0;
    std::optional<double> animatingAlphaTo;
    bool visible = false;
    int builds = 0;
};

class SimHUDSurface final : public HUDSurface {
  public:
    explicit SimHUDSurface(std::shared_ptr<SimHUDRecord> record) : r_(std::move(record)) { ++r_->builds; }

    platform::Size setContent(const std::string& text, const std::string& systemImage,
                              const std::optional<std::string>& tintHex) override {
        r_->text = text;
        r_->systemImage = systemImage;
        r_->tintHex = tintHex;
        return {60.0 + 8.0 * static_cast<double>(text.size()), 46};
    }
    void setOrigin(platform::Point origin) override { r_->origin = origin; }
    void setAlpha(double alpha) override {
        r_->alpha = alpha;
        r_->animatingAlphaTo.reset();
    }
    void animateAlpha(double to, double) override { r_->animatingAlphaTo = to; }
    void orderFront() override { r_->visible = true; }
    void orderOut() override { r_->visible = false; }
    bool isVisible() const override { return r_->visible; }

  private:
    std::shared_ptr<SimHUDRecord> r_;
};

} // namespace rondelix::testsupport
