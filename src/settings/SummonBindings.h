#pragma once

#include "model/Config.h"

namespace rondelix {

class ConfigStore;

// Whether the binding is the only one that can still summon the wheel:
// enabled, with keys that can be held at once, and no other binding so.
bool isLastWorkingBinding(const Config& config, const Uuid& id);

// Appends a binding with no keys, switched off, with the usual hold delay;
// it waits for the user to record its keys.
void addBinding(ConfigStore& store);

} // namespace rondelix
