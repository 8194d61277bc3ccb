#include "editor/ui/UndoKeyFilter.h"

#include "editor/WheelEditor.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace rondelix {

UndoKeyFilter::UndoKeyFilter(WheelEditor& editor, QObject* parent) : QObject(parent), editor_(editor) {
    QCoreApplication::instance()->installEventFilter(this);
}

UndoKeyFilter::~UndoKeyFilter() {
    if (auto* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool UndoKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const UndoKeyPress press{key->modifiers().testFlag(Qt::ControlModifier),
                             key->modifiers().testFlag(Qt::ShiftModifier), key->key() == Qt::Key_Z};
    if (!press.ctrl || !press.isZ) return false;
    if (type == QEvent::ShortcutOverride) {
        // Claiming the key keeps menu shortcuts from taking it; the key
        // press that follows does the work.
        if (editor_.undoKeyWanted(press) != UndoKeyAction::passOn) event->accept();
        return false;
    }
    return editor_.handleUndoKey(press) != UndoKeyAction::passOn;
}

} // namespace rondelix
