#pragma once

#include "platform/DesktopAppearance.h"
#include "util/Signal.h"

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

// The program's own dark colours, every text at 4.5:1 or more against what
// it is drawn on; for desktops whose toolkit theme does not reach Qt.
QPalette darkSchemePalette();

// The palette for the desktop's colour scheme: the toolkit's own when it is
// already that light or dark (or the desktop does not say), else the
// program's.
QPalette paletteForScheme(platform::ColorScheme scheme, const QPalette& toolkit);

// Keeps the application's palette so, also after the desktop changes it: in
// the desktop's light or dark once it follows the desktop's appearance, with
// readable secondary text and visible field edges, and with the program's
// accent as the colour of selections, checked controls and focus rings in
// place of the desktop's, deepened where the selected text would not read
// on it.
// Every window and the wheel draw from it.
class ReadablePalette final : public QObject {
  public:
    ReadablePalette();
    void setAccent(const QColor& accent);

    // From now on, and whenever the desktop switches between light and dark,
    // until the returned connection goes: it must go before the appearance.
    ScopedConnection follow(platform::DesktopAppearance& appearance);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void apply();

    // What the toolkit's theme gives, before the program changed anything.
    QPalette toolkit_;
    QPalette applied_;
    const platform::DesktopAppearance* appearance_ = nullptr;
    QColor accent_;
};

} // namespace rondelix
