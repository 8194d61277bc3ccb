#include "platform/linux/x11/X11ModifierLift.h"

#include <algorithm>

namespace rondelix::platform::linux_desktop {

ModifierLift planModifierLift(const std::vector<ModifierKey>& held, const std::vector<ModifierKey>& stroke) {
    unsigned strokeMask = 0;
    for (const auto& key : stroke)
        strokeMask |= key.mask;
    ModifierLift plan;
    unsigned kept = 0;
    for (const auto& key : held) {
        if (key.mask & strokeMask) {
            kept |= key.mask;
            continue;
        }
        if (std::ranges::find(plan.lift, key.xKeyCode) != plan.lift.end()) continue;
        plan.lift.push_back(key.xKeyCode);
        plan.breakTaps = plan.breakTaps || key.tapSensitive;
    }
    for (const auto& key : stroke)
        if (!(key.mask & kept) && std::ranges::find(plan.press, key.xKeyCode) == plan.press.end())
            plan.press.push_back(key.xKeyCode);
    return plan;
}

} // namespace rondelix::platform::linux_desktop
