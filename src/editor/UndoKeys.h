#pragma once

namespace rondelix {

// A key press the editor's undo keys look at: the Z key with Ctrl, Shift
// asking for redo. Other modifiers do not matter.
struct UndoKeyPress {
    bool ctrl = false;
    bool shift = false;
    bool isZ = false;
};

enum class UndoKeyAction { passOn, undo, redo };

// Undo and redo take the key only on the wheels page and never while a
// keystroke capture wants every key.
UndoKeyAction undoKeyAction(UndoKeyPress press, bool wheelsPageShown, bool capturingKeystroke);

} // namespace rondelix
