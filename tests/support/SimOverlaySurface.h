#pragma once

#include "overlay/EscapeMonitor.h"
#include "overlay/OverlaySurface.h"
#include "overlay/PanelGeometry.h"

#include <map>
#include <memory>
#include <vector>

namespace rondelix::testsupport {

// A panel that only records what the overlay controller asked of it. The
// factory keeps a shared record of every panel built, so a test can look at
// a panel even after the controller has replaced and released it.
struct SimPanelRecord {
    PanelOptions options;
    platform::Rect frame;
    double alpha = 1.0;
    std::optional<double> animatingAlphaTo;
    bool visible = false;
    double alphaFloor = 0;
    bool released = false;
    bool ignoresMouseEvents = true;
    bool dragHandleHidden = true;
    std::function<void()> onClose;
    std::vector<OpenAnimation> openAnimations;
    int orderFronts = 0;
    int orderOuts = 0;
    int alphaAnimations = 0;
    int prewarms = 0;
};

class SimOverlaySurface final : public OverlaySurface {
  public:
    explicit SimOverlaySurface(std::shared_ptr<SimPanelRecord> record) : r_(std::move(record)) {
        const double side = PanelGeometry{r_->options.diameter}.side();
        r_->frame = {0, 0, side, side};
    }
    ~SimOverlaySurface() override { r_->released = true; }

    platform::Rect frame() const override { return r_->frame; }
    void setFrame(platform::Rect frame) override { r_->frame = frame; }
    double alpha() const override { return r_->alpha; }
    void setAlpha(double alpha) override {
        r_->alpha = alpha;
        r_->animatingAlphaTo.reset();
    }
    void animateAlpha(double to, double) override {
        r_->animatingAlphaTo = to;
        ++r_->alphaAnimations;
    }
    void orderFront() override {
        r_->visible = true;
        ++r_->orderFronts;
    }
    void orderOut() override {
        r_->visible = false;
        ++r_->orderOuts;
    }
    bool isVisible() const override { return r_->visible; }
    double alphaFloor() const override { return r_->alphaFloor; }
    void setIgnoresMouseEvents(bool ignores) override { r_->ignoresMouseEvents = ignores; }
    void setDragHandleHidden(bool hidden) override { r_->dragHandleHidden = hidden; }
    void setOnClose(std::function<void()> onClose) override { r_->onClose = std::move(onClose); }
    void playOpenAnimation(const OpenAnimation& animation) override {
        r_->openAnimations.push_back(animation);
    }
    void prewarm() override {
        r_->visible = true;
        ++r_->prewarms;
    }
    int level() const override { return 1; }
    int shieldLevel() const override { return 1; }
    unsigned long windowBehavior() const override { return 0x141; }

  private:
    std::shared_ptr<SimPanelRecord> r_;
};

// Builds recording panels and remembers each.
struct SimPanelFactory {
    std::vector<std::shared_ptr<SimPanelRecord>> built;
    // The floor each new panel reports: a compositor that blurs nothing behind it.
    double alphaFloor = 0;

    std::function<std::unique_ptr<OverlaySurface>(const PanelOptions&)> factory() {
        return [this](const PanelOptions& options) {
            auto record = std::make_shared<SimPanelRecord>();
            record->options = options;
            record->alphaFloor = alphaFloor;
            built.push_back(record);
            return std::make_unique<SimOverlaySurface>(record);
        };
    }
    SimPanelRecord& last() { return *built.back(); }
};

class SimEscapeMonitor final : public EscapeMonitor {
  public:
    Token add(std::function<void()> onEscape) override {
        monitors[++lastToken] = std::move(onEscape);
        return lastToken;
    }
    void remove(Token token) override { monitors.erase(token); }

    // Presses Esc in the program; answers whether a monitor swallowed it.
    bool pressEscape() {
        if (monitors.empty()) return false;
        auto copy = monitors;
        for (auto& [token, fn] : copy)
            fn();
        return true;
    }

    std::map<Token, std::function<void()>> monitors;
    Token lastToken = 0;
};

} // namespace rondelix::testsupport
