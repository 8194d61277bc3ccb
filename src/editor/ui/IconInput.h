#pragma once

#include "model/Icon.h"

#include <QWidget>
#include <functional>

class QLabel;

namespace rondelix {

class SliceForm;

// The input under the slice form's icon menu for one kind of icon. It shows
// the slice's icon and writes what the user chooses through the form; the
// form makes a new one when the kind changes.
class IconInput : public QWidget {
  public:
    IconInput(SliceForm& form, QWidget* parent);

    // Shows the icon; an icon of another kind leaves the input as it is.
    virtual void showIcon(const Icon& icon) = 0;

  protected:
    SliceForm& form() const { return form_; }
    // Lays the input out as a chooser row: a 32-point preview on the field
    // background, a name, and the button that changes it. Returns the name.
    QLabel* layOutChooserRow(QWidget* preview, const QString& buttonTitle, std::function<void()> choose);
    // Adds a line under the chooser row.
    void addLineBelow(QWidget* line);

  private:
    SliceForm& form_;
};

} // namespace rondelix
