#include "engine/SummonActions.h"
#include "engine/SummonFeedback.h"
#include "guides/DemoChoreography.h"
#include "model/WheelState.h"
#include "overlay/OverlayController.h"
#include "platform/Screens.h"
#include "store/ConfigStore.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace rondelix {

using platform::Point;

DemoChoreography::Step DemoChoreography::pause(int ms) {
    return {{}, ms, {}};
}

// The waits are whole milliseconds, so a glide takes slightly less than its
// nominal length.
DemoChoreography::GlidePlan DemoChoreography::glidePlan(double seconds) {
    const int steps = std::max(4, static_cast<int>(seconds * 90));
    return {steps, static_cast<int>(seconds * 1000) / steps};
}

// The pointer starts fast and settles (ease-out cubic); the last warp lands
// exactly on the target.
DemoChoreography::Step DemoChoreography::glideCursor(Point to, double seconds) {
    return unfold([this, to, seconds] {
        const Point from = s_.screens.pointerLocation();
        const GlidePlan plan = glidePlan(seconds);
        Steps steps;
        for (int i = 1; i <= plan.steps; ++i) {
            const double eased = 1 - std::pow(1 - static_cast<double>(i) / plan.steps, 3);
            const Point at{from.x + (to.x - from.x) * eased, from.y + (to.y - from.y) * eased};
            steps.push_back(act([this, at] { s_.screens.warpPointer(at); }));
            steps.push_back(pause(plan.intervalMs));
        }
        return steps;
    });
}

// To the middle of the usable area of the screen under the pointer, where a
// wheel set to open at the screen centre will open.
DemoChoreography::Step DemoChoreography::glideToScreenCenter() {
    return unfold([this]() -> Steps {
        const Point pointer = s_.screens.pointerLocation();
        const auto screens = s_.screens.screens();
        const auto under = std::find_if(screens.begin(), screens.end(),
                                        [&](const auto& s) { return s.frame.contains(pointer); });
        const auto screen = under != screens.end() ? std::optional(*under) : s_.screens.mainScreen();
        if (!screen) return {};
        return {glideCursor(screen->visibleFrame.center(), 0.3)};
    });
}

// Slot 0 is straight above the centre, the rest follow clockwise.
DemoChoreography::Step DemoChoreography::glideToSlice(int position, int sliceCount) {
    return unfold([this, position, sliceCount]() -> Steps {
        const OverlaySurface* panel = s_.overlay.panel();
        if (!panel || !panel->isVisible()) return {};
        const Point centre = panel->frame().center();
        const double radius = s_.store.config().behavior.wheelSize * 0.36;
        const double angle = 2 * std::numbers::pi / sliceCount * position;
        return {
            glideCursor({centre.x + std::sin(angle) * radius, centre.y + std::cos(angle) * radius}, 0.14)};
    });
}

// Opens the wheel the way a summon does, without the summon engine.
DemoChoreography::Step DemoChoreography::summon(const std::string& wheelId) {
    return act([this, wheelId] {
        s_.wheelState.setActiveWheelId(wheelId);
        s_.wheelState.setAimedPosition(std::nullopt);
        s_.overlay.setPreviewingSize(false);
        const Behavior behavior = s_.store.config().behavior;
        s_.overlay.present(behavior.wheelSize, behavior.position, true);
    });
}

DemoChoreography::Step DemoChoreography::sweepAim(std::vector<int> positions, int sliceCount) {
    return unfold([this, positions = std::move(positions), sliceCount] {
        Steps steps;
        for (const int position : positions) {
            steps.push_back(glideToSlice(position, sliceCount));
            steps.push_back(act([this, position] {
                s_.wheelState.setAimedPosition(position);
                s_.feedback.aim();
            }));
            steps.push_back(pause(200));
        }
        return steps;
    });
}

// Fires as a release on the slot would, but leaves the wheel open and the
// last-used wheel alone; an empty slot fires nothing.
DemoChoreography::Step DemoChoreography::fire(const std::string& wheelId, int position) {
    return act([this, wheelId, position] {
        const auto wheel = s_.store.wheel(wheelId);
        if (!wheel) return;
        const auto slice = std::find_if(wheel->slices.begin(), wheel->slices.end(),
                                        [&](const Slice& s) { return s.position == position; });
        if (slice == wheel->slices.end()) return;
        s_.feedback.fire();
        s_.actions.fire(slice->action);
    });
}

DemoChoreography::Step DemoChoreography::hide() {
    return act([this] { s_.overlay.hide(); });
}

} // namespace rondelix
