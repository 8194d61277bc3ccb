#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <string_view>

class QAbstractButton;
class QPainter;

namespace rondelix {

// System symbol names drawn with the Material Icons font. A name the table
// lacks draws as "questionmark". Without the font installed, symbols fall
// back to plain text marks so a wheel still shows something readable.
class SymbolFont {
  public:
    static bool knows(std::string_view name);
    // The font's glyph for the name, "questionmark"'s for unknown names.
    static QString glyph(std::string_view name);
    static bool isAvailable();
    static QFont font(double pixelSize);

    // Draws the symbol centred in `box`; `pixelSize` is the text size the
    // symbol stands in for.
    static void paint(QPainter& painter, std::string_view name, const QRectF& box, double pixelSize,
                      const QColor& color);

    // The symbol alone on a transparent square of `side` pixels, for buttons
    // and labels.
    static QPixmap pixmap(std::string_view name, int side, const QColor& color);
    // The symbol as a button's icon, in the colour of the role in the
    // palette, greyed as the palette greys it while the button is disabled.
    static QIcon icon(std::string_view name, const QPalette& palette,
                      QPalette::ColorRole role = QPalette::ButtonText);
    // Gives the button the symbol as its icon, drawn again from the button's
    // own palette each time that changes. A new application palette (the
    // desktop turning dark) reaches the widgets one by one, in no set order:
    // only the button's own palette is sure to be the new one when it hears.
    static void followPalette(QAbstractButton& button, std::string_view name,
                              QPalette::ColorRole role = QPalette::ButtonText);
};

} // namespace rondelix
