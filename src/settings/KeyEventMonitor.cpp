#include "settings/KeyEventMonitor.h"

#include "platform/ModifierFlags.h"

namespace rondelix {

std::uint64_t modifierDownBit(int keyCode) {
    const ModifierKeyFlags* row = modifierKeyFlagsFor(keyCode);
    if (!row) return 0;
    return row->side ? row->side : row->group;
}

} // namespace rondelix
