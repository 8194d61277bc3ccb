#pragma once

#include <QObject>

namespace rondelix {

class WheelEditor;

// Watches every key of the application while the wheels page is on screen,
// so Ctrl+Z and Ctrl+Shift+Z undo wheel edits before any text field or menu
// shortcut sees them. Installed on the application while it exists.
class UndoKeyFilter : public QObject {
    Q_OBJECT
  public:
    explicit UndoKeyFilter(WheelEditor& editor, QObject* parent = nullptr);
    ~UndoKeyFilter() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    WheelEditor& editor_;
};

} // namespace rondelix
