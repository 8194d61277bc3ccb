#pragma once

#include "model/Config.h"

#include <algorithm>
#include <vector>

namespace rondelix {

// Key codes outside 0 to 65535 can never be held; a binding carrying one
// never summons.
inline bool isHoldableKeyCode(int code) {
    return code >= 0 && code <= 65535;
}

// Whether a wins over b when both are fully held: more keys win; among equally
// long lists the lexicographically greater list wins. Identical lists rank
// equal, so whichever came first stays the winner.
inline bool outranks(const SummonBinding& a, const SummonBinding& b) {
    if (a.keyCodes.size() != b.keyCodes.size()) return a.keyCodes.size() > b.keyCodes.size();
    return std::lexicographical_compare(b.keyCodes.begin(), b.keyCodes.end(), a.keyCodes.begin(),
                                        a.keyCodes.end());
}

// The winner among the enabled bindings that isHeld accepts, in configuration
// order; nullptr when none is held.
template <typename IsHeld>
const SummonBinding* bestMatchingBinding(const std::vector<SummonBinding>& bindings, IsHeld&& isHeld) {
    const SummonBinding* best = nullptr;
    for (const SummonBinding& b : bindings) {
        if (!b.enabled || !isHeld(b)) continue;
        if (!best || outranks(b, *best)) best = &b;
    }
    return best;
}

} // namespace rondelix
