#include "settings/KeyEventMonitor.h"

#include "platform/ModifierKeyFlags.h"

namespace rondelix {

std::uint64_t modifierDownBit(int keyCode) {
    const platform::ModifierKeyFlags* row = platform::modifierKeyFlagsFor(keyCode);
    if (!row) return 0;
    return row->side ? row->side : row->group;
}

} // namespace rondelix
