#pragma once

#include "catalog/SystemAction.h"
#include "gallery/GalleryWheel.h"
#include "gallery/ui/WheelPreviewFactory.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace rondelix::platform {
class Workspace;
} // namespace rondelix::platform

namespace rondelix {

// The review of a gallery wheel before it is added: the wheel as it will be
// drawn, what each slice does, and whether the wheel can run code. Adding is
// the presenter's work, handed in as `onAdd`; the sheet changes nothing. A
// system action that does nothing on this desktop says so in its line.
class AddWheelSheet : public QDialog {
    Q_OBJECT
  public:
    AddWheelSheet(const GalleryWheel& gallery, const Wheel& shown, std::optional<double> visibleScreenHeight,
                  const platform::Workspace& workspace, const SystemActionUnavailable& unavailable,
                  const WheelPreviewFactory& preview, std::function<void()> onAdd, QWidget* parent);

    QPushButton* addButton() const { return add_; }
    QPushButton* cancelButton() const { return cancel_; }
    QLabel* trustNote() const { return trust_; }

  private:
    QPushButton* add_;
    QPushButton* cancel_;
    QLabel* trust_;
};

} // namespace rondelix
