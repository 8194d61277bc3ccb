#pragma once

#include "editor/SliceSlot.h"

#include <functional>

class QWidget;

namespace rondelix {

// How the slice section gets the form that edits the selected slice.
//
// The section calls the factory whenever the selected slot changes (another
// wheel, another slot, or the slot gains its first slice) and owns the widget
// it returns, dropping it on the next change. The form is given only the
// slot: it reads the slice with `slot.read(store)` and writes each change
// back whole with `slot.write(store, slice)`, keeping no copy, so undo, redo
// and reloads of the file show at once. Whatever else it needs (the store,
// icons, dialogs, the keystroke capture flag) the factory's maker captures.
// An empty factory makes the section show a note in the form's place.
using SliceFormFactory = std::function<QWidget*(const SliceSlot& slot, QWidget* parent)>;

} // namespace rondelix
