#pragma once

#include "editor/SliceFormKinds.h"
#include "editor/ui/ActionInput.h"

namespace rondelix {

// The input of an action kind, from the table of one row per kind.
ActionInput* makeActionInput(SliceFormKinds::ActionKind kind, const ActionInputContext& context,
                             QWidget* parent);

} // namespace rondelix
