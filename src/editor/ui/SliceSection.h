#pragma once

#include "editor/ui/InspectorCard.h"
#include "editor/ui/SliceFormFactory.h"

#include <optional>

class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace rondelix {

class ConfigStore;
class WheelEditor;

// The slice card of the inspector: the selected slot's form with Remove
// Action and the duplicate / copy / move menu, or the invitation to fill an
// empty slot.
class SliceSection : public InspectorCard {
    Q_OBJECT
  public:
    SliceSection(WheelEditor& editor, const ConfigStore& store, SliceFormFactory makeForm,
                 QWidget* parent = nullptr);

    // Follows the selection; the form is made anew only when the slot it
    // edits changes or gains its slice, so typing in it is never interrupted.
    void refresh();

    QWidget* form() const { return form_; }
    QToolButton* actionsButton() const { return actions_; }
    // Builds the actions menu as it would drop down now.
    void fillActionsMenu(QMenu& menu);

  private:
    struct Shown {
        std::string wheelId;
        int position = 0;
        bool filled = false;
        friend bool operator==(const Shown&, const Shown&) = default;
    };

    void rebuild(const Shown& shown);

    WheelEditor& editor_;
    const ConfigStore& store_;
    SliceFormFactory makeForm_;
    QLabel* accent_ = nullptr;
    QLabel* title_ = nullptr;
    QToolButton* actions_;
    QVBoxLayout* content_;
    QWidget* body_ = nullptr;
    QWidget* form_ = nullptr;
    std::optional<Shown> shown_;
};

} // namespace rondelix
