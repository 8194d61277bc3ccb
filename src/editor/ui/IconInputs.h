#pragma once

#include "editor/SliceFormKinds.h"
#include "editor/ui/IconInput.h"

namespace rondelix {

// The input of an icon kind, from the table of one row per kind; none for the
// kinds without one (automatic and none).
IconInput* makeIconInput(SliceFormKinds::IconKind kind, SliceForm& form, QWidget* parent);

} // namespace rondelix
