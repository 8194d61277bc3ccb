#include "app/ui/ReadablePalette.h"

#include <QApplication>
#include <QEvent>

namespace rondelix {

namespace {

constexpr float towardsWindow = 0.25f;

QColor mixed(const QColor& text, const QColor& window) {
    const auto mix = [](float a, float b) { return a + (b - a) * towardsWindow; };
    return QColor::fromRgbF(mix(text.redF(), window.redF()), mix(text.greenF(), window.greenF()),
                            mix(text.blueF(), window.blueF()));
}

} // namespace

QPalette withReadableSecondaryText(QPalette palette) {
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(
            group, QPalette::PlaceholderText,
            mixed(palette.color(group, QPalette::WindowText), palette.color(group, QPalette::Window)));
    return palette;
}

ReadablePalette::ReadablePalette() {
    apply();
    QCoreApplication::instance()->installEventFilter(this);
}

bool ReadablePalette::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange) apply();
    return false;
}

void ReadablePalette::apply() {
    const QPalette current = QApplication::palette();
    const QPalette readable = withReadableSecondaryText(current);
    // Setting it announces a change again; the second time there is none.
    if (readable != current) QApplication::setPalette(readable);
}

} // namespace rondelix
