#include "settings/ui/SettingsText.h"

#include "icons/ui/SymbolFont.h"

#include <QAbstractButton>
#include <QLabel>

namespace rondelix::SettingsText {

QFont scaled(QFont font, double factor, QFont::Weight weight) {
    font.setPointSizeF(font.pointSizeF() * factor);
    font.setWeight(weight);
    return font;
}

QColor secondary(const QWidget& widget) {
    return widget.palette().color(QPalette::PlaceholderText);
}

void setColour(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget.setPalette(palette);
}

void setSymbol(QAbstractButton& button, std::string_view symbol) {
    button.setIcon(SymbolFont::icon(symbol, button.palette()));
}

QLabel* caption(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setFont(scaled(label->font(), 0.85));
    setColour(*label, secondary(*label));
    return label;
}

} // namespace rondelix::SettingsText
