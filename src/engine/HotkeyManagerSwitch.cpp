// Switching the open wheel: Tab, a Shift tap and scrolling step through the
// list; number keys pick a wheel by its place.
#include "engine/HotkeyManager.h"

namespace rondelix {

void HotkeyManager::cycleWheel(bool forward) {
    const std::vector<Wheel>& wheels = configStore_.config().wheels;
    const auto next = cycledWheelIndex(wheels, summoned_->wheelId, forward);
    if (!next) return;
    summoned_->wheelId = wheels[*next].id;
    reaimAfterSwitch();
}

void HotkeyManager::selectWheel(int number) {
    const std::vector<Wheel>& wheels = configStore_.config().wheels;
    const auto index = numberedWheelIndex(wheels.size(), number);
    if (!index) return;
    const std::string& id = wheels[*index].id;
    if (id == summoned_->wheelId) return;
    summoned_->wheelId = id;
    reaimAfterSwitch();
}

void HotkeyManager::reaimAfterSwitch() {
    // The new wheel may have another slot count: aim afresh at what the
    // arrows or the pointer point to, and click once for the switch itself.
    const bool arrowsHeld = !summoned_->pressedArrows.empty();
    summoned_->aim = arrowsHeld ? position(summoned_->pressedArrows) : mouseAimIndex();
    showWheelAndAim();
}

} // namespace rondelix
