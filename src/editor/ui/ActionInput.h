#pragma once

#include "model/MacroAction.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

class QVBoxLayout;

namespace rondelix {

class SliceForm;

// What the action inputs work with.
struct ActionInputContext {
    SliceForm& form;
    // Writes a typed text: at once, or for a very long one once typing pauses.
    std::function<void(qsizetype length, std::function<void()> write)> writeText;
    // Picks an installed application; none when cancelled.
    std::function<std::optional<std::string>(QWidget* parent)> chooseApp;
};

// The input under the slice form's action menu for one kind of action. It
// shows the slice's action and writes what the user changes through the form;
// the form makes a new one when the kind changes.
class ActionInput : public QWidget {
  public:
    ActionInput(ActionInputContext context, QWidget* parent);

    // Shows the action; an action of another kind leaves the input as it is.
    virtual void showAction(const MacroAction& action) = 0;

  protected:
    SliceForm& form() const { return context_.form; }
    const ActionInputContext& context() const { return context_; }
    // The input's controls, top to bottom.
    QVBoxLayout* column() const { return column_; }

  private:
    ActionInputContext context_;
    QVBoxLayout* column_;
};

} // namespace rondelix
