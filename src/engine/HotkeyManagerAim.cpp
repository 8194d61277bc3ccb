// Aiming an open wheel with the pointer, the arrow keys and the keypad.
#include "engine/AimGeometry.h"
#include "engine/HotkeyManager.h"
#include "model/WheelState.h"

#include <cmath>

namespace rondelix {

namespace {

// The hub: a dead zone for the pointer, as a share of the wheel diameter.
constexpr double hubShare = 0.2;
// How far a pointer that started away from the wheel must move before it aims.
constexpr double unlockDistance = 12.0;

} // namespace

int HotkeyManager::openSlotCount() const {
    const std::string& id = summoned_->wheelId;
    for (const Wheel& wheel : configStore_.config().wheels)
        if (wheel.id == id) return wheel.sliceCount;
    return configStore_.activeWheel().sliceCount;
}

platform::Point HotkeyManager::pointerAt(double time) const {
    const platform::Point now = platform_.screens.pointerLocation();
    if (time >= platform_.queue.now()) return now;
    const platform::Point travel = platform_.taps.pointerTravelSince(time);
    if (travel == platform::Point{}) return now;
    // The travel comes in device pixels, the location in points.
    double scale = 1;
    for (const platform::Screen& screen : platform_.screens.screens())
        if (screen.frame.contains(now)) {
            scale = screen.scale > 0 ? screen.scale : 1;
            break;
        }
    return {now.x - travel.x / scale, now.y - travel.y / scale};
}

void HotkeyManager::setAim(std::optional<int> position) {
    if (summoned_->aim == position) return;
    summoned_->aim = position;
    showWheelAndAim();
}

// The wheel graphic and the main window's preview redraw from the wheel
// state, which on a busy machine can take longer than the keyboard may wait
// for the verdict on the key that aimed or switched: the wheel state follows
// the engine's choice on the main queue, after the tap has answered, and
// the click with it. Keys answered while that step waits (they go ahead of
// it) change what it shows, not how often the wheel redraws.
void HotkeyManager::showWheelAndAim() {
    if (summoned_->showQueued) return;
    summoned_->showQueued = true;
    const std::int64_t token = armToken_;
    platform_.queue.post(weakly([this, token] {
        if (armToken_ != token || !summoned_) return;
        summoned_->showQueued = false;
        wheelState_.setActiveWheelId(summoned_->wheelId);
        wheelState_.setAimedPosition(summoned_->aim);
        feedback_.aim();
    }));
}

void HotkeyManager::onMouseMoved() {
    const auto panel = overlayController_.visiblePanel();
    if (!panel) return;
    const platform::Point p = platform_.screens.pointerLocation();
    const double distance = std::hypot(p.x - panel->centerX, p.y - panel->centerY);
    const double hubRadius = hubShare * panel->wheelDiameter;
    if (!summoned_->mouseAimUnlocked) {
        const platform::Point start = summoned_->mouseStart;
        const double moved = std::hypot(p.x - start.x, p.y - start.y);
        if (distance > hubRadius && moved < unlockDistance) return;
        summoned_->mouseAimUnlocked = true;
    }
    // Back in the hub clears the aim whatever sticky aim says, so that a
    // release there dismisses.
    setAim(distance > hubRadius ? mouseAimIndex() : std::nullopt);
}

std::optional<int> HotkeyManager::mouseAimIndex() const {
    if (!summoned_ || !summoned_->mouseAimUnlocked) return std::nullopt;
    const auto panel = overlayController_.visiblePanel();
    if (!panel) return std::nullopt;
    const platform::Point p = platform_.screens.pointerLocation();
    const double dx = p.x - panel->centerX;
    const double dy = p.y - panel->centerY;
    if (std::hypot(dx, dy) <= hubShare * panel->wheelDiameter) return std::nullopt;
    return aim::slotForDirection(dx, dy, openSlotCount());
}

std::optional<int> HotkeyManager::position(const KeyCodeSet& arrows) const {
    const aim::Arrows held{.left = arrows.contains(aim::leftArrow),
                           .right = arrows.contains(aim::rightArrow),
                           .down = arrows.contains(aim::downArrow),
                           .up = arrows.contains(aim::upArrow)};
    return aim::slotForArrows(held, openSlotCount());
}

void HotkeyManager::arrowKeyDown(std::uint16_t arrow, bool wasHeld) {
    const std::optional<int> current = summoned_->aim;
    // A keypad aim, or an arrow tapped while another stays held, walks round
    // the wheel one slot at a time instead of jumping to a direction.
    const Summoned& summon = *summoned_;
    const bool steps = current && (summon.aimAnchored || (wasHeld && summon.steppablePrimed.contains(arrow)));
    if (steps) {
        setAim(aim::steppedAim(*current, arrow, openSlotCount()));
        return;
    }
    const std::optional<int> pos = position(summon.pressedArrows);
    if (behavior().stickyAim && !pos) return;
    setAim(pos);
}

void HotkeyManager::arrowKeyUp(std::uint16_t arrow) {
    Summoned& summon = *summoned_;
    summon.pressedArrows.erase(arrow);
    if (summon.aimAnchored) return;
    if (!summon.pressedArrows.empty()) {
        summon.steppablePrimed.insert(arrow);
        return;
    }
    summon.steppablePrimed.clear();
    if (!behavior().stickyAim) setAim(std::nullopt);
}

void HotkeyManager::handleNumpadAim(int digit, bool stepping) {
    const int count = openSlotCount();
    const std::optional<int> current = summoned_->aim;
    if (behavior().numpadDirectSlice) {
        const auto slot = aim::numpadDirectSlot(digit, count);
        if (!slot) return;
        setAim(slot);
        summoned_->aimAnchored = true;
        return;
    }
    if (const auto compass = aim::numpadCompass(digit)) {
        if (stepping && current)
            setAim(aim::numpadStep(*current, digit, count));
        else
            setAim(aim::slotForArrows(*compass, count));
        summoned_->aimAnchored = true;
        return;
    }
    // 0 and 5, the centre of the pad.
    setAim(std::nullopt);
    summoned_->aimAnchored = false;
}

} // namespace rondelix
