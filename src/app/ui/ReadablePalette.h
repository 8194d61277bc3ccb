#pragma once

#include <QColor>
#include <QObject>
#include <QPalette>

namespace rondelix {

// Secondary text drawn readably. The toolkit's placeholder colour is the
// text colour at half opacity: under 4.5:1 against the window colour, and
// less where a see-through window lets the desktop through. Here it is a
// solid colour a quarter of the way from the text colour to the window
// colour, readable over anything behind the glass.
QPalette withReadableSecondaryText(QPalette palette);

// Keeps the application's palette so, also after the desktop changes it,
// with the program's accent as the colour of selections, checked controls and
// focus rings in place of the desktop's.
class ReadablePalette final : public QObject {
  public:
    ReadablePalette();
    void setAccent(const QColor& accent);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void apply();
    QColor accent_;
};

} // namespace rondelix
