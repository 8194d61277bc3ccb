#pragma once

#include "editor/ui/InspectorCard.h"

#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace rondelix {

class ConfigStore;
class WheelEditor;

// The wheel card of the inspector: name, slot count, the application the
// wheel opens for, duplicate and delete. Empty while no wheel is selected.
class WheelSection : public InspectorCard {
    Q_OBJECT
  public:
    // Asks the user for an application; none when cancelled.
    using AppPicker = std::function<std::optional<std::string>()>;

    WheelSection(WheelEditor& editor, const ConfigStore& store, AppPicker pickApp, QWidget* parent = nullptr);

    // Shows the selected wheel as the store has it now.
    void refresh();

    QLineEdit* nameField() const { return name_; }
    QComboBox* sliceCountPicker() const { return count_; }
    QPushButton* deleteButton() const { return delete_; }

  private:
    void showAppMenu();

    WheelEditor& editor_;
    const ConfigStore& store_;
    AppPicker pickApp_;
    QWidget* body_;
    QLineEdit* name_;
    QComboBox* count_;
    QPushButton* app_;
    QPushButton* duplicate_;
    QPushButton* delete_;
};

} // namespace rondelix
