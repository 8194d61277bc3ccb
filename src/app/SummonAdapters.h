#pragma once

#include "engine/SummonActions.h"
#include "engine/SummonConfig.h"
#include "engine/SummonFeedback.h"
#include "engine/SummonOverlay.h"

namespace rondelix {

class ConfigStore;
class FeedbackController;
class MacroExecutor;
class OverlayController;

// Connects the summon engine's narrow needs to the concrete services.
class StoreSummonConfig final : public SummonConfig {
public:
    explicit StoreSummonConfig(ConfigStore& store) : store_(store) {}
    const Config& config() const override;
    std::optional<Wheel> wheel(std::string_view id) const override;
    Wheel activeWheel() const override;
    void mutate(const std::function<void(Config&)>& change) override;

private:
    ConfigStore& store_;
};

class OverlaySummonOverlay final : public SummonOverlay {
public:
    explicit OverlaySummonOverlay(OverlayController& overlay) : overlay_(overlay) {}
    void show() override;
    void hide() override;
    std::optional<SummonPanel> visiblePanel() const override;

private:
    OverlayController& overlay_;
};

class ExecutorSummonActions final : public SummonActions {
public:
    explicit ExecutorSummonActions(MacroExecutor& executor) : executor_(executor) {}
    void fire(const MacroAction& action) override;

private:
    MacroExecutor& executor_;
};

class FeedbackSummonFeedback final : public SummonFeedback {
public:
    explicit FeedbackSummonFeedback(FeedbackController& feedback) : feedback_(feedback) {}
    void aim() override;
    void fire() override;

private:
    FeedbackController& feedback_;
};

// The four together, as the coordinator holds them for the engine.
struct SummonAdapters {
    StoreSummonConfig config;
    OverlaySummonOverlay overlay;
    ExecutorSummonActions actions;
    FeedbackSummonFeedback feedback;
};

} // namespace rondelix
