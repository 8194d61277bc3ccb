#include "engine/ModifierKeys.h"

#include "platform/ModifierFlags.h"

#include <array>
#include <cstddef>

namespace rondelix::modifiers {

namespace {

// The flag that tells a row's key is down: its side's, or for a key without
// sides (Fn) its group's.
constexpr std::uint64_t ownFlag(const ModifierKeyFlags& row) {
    return row.side ? row.side : row.group;
}

// For each row, every flag by which an event names a key of its group.
constexpr auto groupSides = [] {
    std::array<std::uint64_t, modifierKeyFlags.size()> sides{};
    for (std::size_t i = 0; i < modifierKeyFlags.size(); ++i)
        for (const auto& other : modifierKeyFlags)
            if (other.group == modifierKeyFlags[i].group) sides[i] |= ownFlag(other);
    return sides;
}();

constexpr std::uint64_t anyGroup = [] {
    std::uint64_t groups = 0;
    for (const auto& row : modifierKeyFlags)
        groups |= row.group;
    return groups;
}();

} // namespace

void updateHeld(KeyCodeSet& held, std::uint64_t flags) {
    // Nearly every key event on the desktop comes with no modifier down and
    // none held: there is nothing to bring up to date then, and the listen
    // handler calls this for every event.
    if (held.empty() && (flags & anyGroup) == 0) return;
    for (std::size_t i = 0; i < modifierKeyFlags.size(); ++i) {
        const ModifierKeyFlags& row = modifierKeyFlags[i];
        if ((flags & row.group) == 0) {
            held.erase(row.keyCode);
        } else if ((flags & groupSides[i]) != 0) {
            if (flags & ownFlag(row))
                held.insert(row.keyCode);
            else
                held.erase(row.keyCode);
        }
    }
}

} // namespace rondelix::modifiers
