#include "guides/ui/GuideText.h"

#include "qtshared/SecondaryText.h"

#include <QLabel>

namespace rondelix::GuideText {

QLabel* label(const QString& text, int pixels, bool bold, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    QFont font = l->font();
    font.setPixelSize(pixels);
    font.setBold(bold);
    l->setFont(font);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignHCenter);
    return l;
}

QLabel* secondary(QLabel* l) {
    l->setStyleSheet(secondaryTextStyle(*l));
    return l;
}

QColor panelColour(const QPalette& palette) {
    const QColor window = palette.color(QPalette::Active, QPalette::Window);
    const auto over = [](float ground) { return ground + (127 / 255.0f - ground) * 0.10f; };
    return QColor::fromRgbF(over(window.redF()), over(window.greenF()), over(window.blueF()));
}

} // namespace rondelix::GuideText
