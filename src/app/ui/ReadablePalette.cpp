#include "app/ui/ReadablePalette.h"

#include "qtshared/QtColor.h"

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

void ReadablePalette::setAccent(const QColor& accent) {
    if (accent == accent_) return;
    accent_ = accent;
    apply();
}

void ReadablePalette::apply() {
    const QPalette current = QApplication::palette();
    QPalette readable = withReadableSecondaryText(current);
    if (accent_.isValid())
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            readable.setColor(group, QPalette::Highlight, accent_);
            readable.setColor(group, QPalette::HighlightedText,
                              toQColor(contrastingForeground(fromQColor(accent_))));
        }
    // Setting it announces a change again; the second time there is none.
    if (readable != current) QApplication::setPalette(readable);
}

} // namespace rondelix
