#include "qtshared/ProminentButton.h"

#include "qtshared/QtColor.h"

#include <QPushButton>

namespace rondelix {

void makeProminent(QPushButton& button, const Color& accent) {
    const auto [fill, title] = accentFill(accent);
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
            .arg(fill.name(), title.name(),
                 button.palette().color(QPalette::Active, QPalette::WindowText).name(), faded(fill).name(),
                 faded(title).name()));
}

} // namespace rondelix
