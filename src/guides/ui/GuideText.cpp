#include "guides/ui/GuideText.h"

#include "qtshared/QtColor.h"

#include <QLabel>
#include <QPushButton>

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
    l->setStyleSheet("color: palette(placeholder-text);");
    return l;
}

void makePrimary(QPushButton& button, const Color& accent) {
    const Color title = contrastingForeground(accent);
    const QColor fill = toQColor(readableOn(accent, title));
    const QColor window = button.palette().color(QPalette::Active, QPalette::Window);
    const auto faded = [&](const QColor& colour) {
        return QColor::fromRgbF(window.redF() + (colour.redF() - window.redF()) * 0.45f,
                                window.greenF() + (colour.greenF() - window.greenF()) * 0.45f,
                                window.blueF() + (colour.blueF() - window.blueF()) * 0.45f);
    };
    button.setStyleSheet(
        QString("QPushButton { background: %1; color: %2; border: 2px solid %1; border-radius: 7px;"
                " padding: 4px 14px; font-weight: bold; }"
                "QPushButton:focus { border-color: %3; }"
                "QPushButton:disabled { background: %4; border-color: %4; color: %5; }")
            .arg(fill.name(), toQColor(title).name(),
                 button.palette().color(QPalette::Active, QPalette::WindowText).name(), faded(fill).name(),
                 faded(toQColor(title)).name()));
}

QColor panelColour(const QPalette& palette) {
    const QColor window = palette.color(QPalette::Active, QPalette::Window);
    const auto over = [](float ground) { return ground + (127 / 255.0f - ground) * 0.10f; };
    return QColor::fromRgbF(over(window.redF()), over(window.greenF()), over(window.blueF()));
}

} // namespace rondelix::GuideText
