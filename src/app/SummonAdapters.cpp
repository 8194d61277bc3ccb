#include "app/SummonAdapters.h"

#include "actions/MacroExecutor.h"
#include "overlay/FeedbackController.h"
#include "overlay/OverlayController.h"
#include "store/ConfigStore.h"

namespace rondelix {

const Config& StoreSummonConfig::config() const { return store_.config(); }
std::optional<Wheel> StoreSummonConfig::wheel(std::string_view id) const { return store_.wheel(id); }
Wheel StoreSummonConfig::activeWheel() const { return store_.activeWheel(); }
void StoreSummonConfig::mutate(const std::function<void(Config&)>& change) { store_.mutate(change); }

void OverlaySummonOverlay::show() { overlay_.show(); }
void OverlaySummonOverlay::hide() { overlay_.hide(); }

std::optional<SummonPanel> OverlaySummonOverlay::visiblePanel() const {
    const OverlaySurface* panel = overlay_.panel();
    if (!panel || !panel->isVisible()) return std::nullopt;
    // The wheel sits in the middle of its panel.
    const platform::Rect frame = panel->frame();
    return SummonPanel{frame.midX(), frame.midY(), overlay_.currentWheelDiameter()};
}

void ExecutorSummonActions::fire(const MacroAction& action) { executor_.fire(action); }

void FeedbackSummonFeedback::aim() { feedback_.aim(); }
void FeedbackSummonFeedback::fire() { feedback_.fire(); }

} // namespace rondelix
