#include "editor/UndoKeys.h"

namespace rondelix {

UndoKeyAction undoKeyAction(UndoKeyPress press, bool wheelsPageShown, bool capturingKeystroke) {
    if (!press.ctrl || !press.isZ || !wheelsPageShown || capturingKeystroke) return UndoKeyAction::passOn;
    return press.shift ? UndoKeyAction::redo : UndoKeyAction::undo;
}

} // namespace rondelix
