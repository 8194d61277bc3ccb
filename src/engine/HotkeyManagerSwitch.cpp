// Switching the open wheel: Tab, a Shift tap and scrolling step through the
// list; number keys pick a wheel by its place.
#include "engine/HotkeyManager.h"
#include "model/WheelState.h"

namespace rondelix {

void HotkeyManager::cycleWheel(bool forward) {
    const std::vector<Wheel>& wheels = configStore_.config().wheels;
    const auto next = cycledWheelIndex(wheels, wheelState_.activeWheelId(), forward);
    if (!next) return;
    wheelState_.setActiveWheelId(wheels[*next].id);
    reaimAfterSwitch();
}

void HotkeyManager::selectWheel(int number) {
    const std::vector<Wheel>& wheels = configStore_.config().wheels;
    const auto index = numberedWheelIndex(wheels.size(), number);
    if (!index) return;
    const std::string& id = wheels[*index].id;
    if (id == wheelState_.activeWheelId()) return;
    wheelState_.setActiveWheelId(id);
    reaimAfterSwitch();
}

void HotkeyManager::reaimAfterSwitch() {
    // The new wheel may have another slot count: aim afresh at what the
    // arrows or the pointer point to, and click once for the switch itself.
    const bool arrowsHeld = summoned_ && !summoned_->pressedArrows.empty();
    wheelState_.setAimedPosition(arrowsHeld ? position(summoned_->pressedArrows) : mouseAimIndex());
    feedback_.aim();
}

} // namespace rondelix
