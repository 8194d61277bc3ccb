#include "app/ui/ReadablePalette.h"

#include "app/ui/PaletteCarryOver.h"
#include "qtshared/QtColor.h"

#include <QApplication>
#include <QEvent>
#include <QStyle>

namespace rondelix {

namespace {

constexpr float towardsWindow = 0.25f;

QColor mixed(const QColor& text, const QColor& window) {
    const auto mix = [](float a, float b) { return a + (b - a) * towardsWindow; };
    return QColor::fromRgbF(mix(text.redF(), window.redF()), mix(text.greenF(), window.greenF()),
                            mix(text.blueF(), window.blueF()));
}

// The program draws its fields' borders in the mid colour, which the
// toolkit makes a shade off the window colour: here it stands out at 3:1
// from the window and from the fields' base.
QPalette withVisibleFieldEdges(QPalette palette) {
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        Color edge = fromQColor(palette.color(group, QPalette::Mid));
        for (const auto ground : {QPalette::Window, QPalette::Base})
            edge = fromQColor(visibleMark(edge, palette.color(group, ground)));
        palette.setColor(group, QPalette::Mid, toQColor(edge));
    }
    return palette;
}

bool isDark(const QPalette& palette) {
    return palette.color(QPalette::Active, QPalette::Window).lightness() < 128;
}

} // namespace

QPalette withReadableSecondaryText(QPalette palette) {
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        palette.setColor(
            group, QPalette::PlaceholderText,
            mixed(palette.color(group, QPalette::WindowText), palette.color(group, QPalette::Window)));
    return palette;
}

QPalette darkSchemePalette() {
    const QColor window(36, 37, 40), text(236, 236, 238), base(28, 29, 31), button(52, 53, 57);
    const QColor disabledText(128, 129, 134);
    QPalette p(text, button, QColor(74, 75, 80), QColor(22, 22, 24), QColor(44, 45, 48), text,
               QColor(Qt::white), base, window);
    p.setColor(QPalette::Midlight, QColor(62, 63, 67));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::AlternateBase, QColor(44, 45, 48));
    p.setColor(QPalette::ToolTipBase, button);
    p.setColor(QPalette::ToolTipText, text);
    // White on it reads at 5.7:1; the links read at 6:1 on the window.
    p.setColor(QPalette::Highlight, QColor(42, 104, 176));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(110, 170, 255));
    p.setColor(QPalette::LinkVisited, QColor(180, 150, 255));
    for (const auto role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::PlaceholderText})
        p.setColor(QPalette::Disabled, role, disabledText);
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(70, 72, 76));
    return p;
}

QPalette paletteForScheme(platform::ColorScheme scheme, const QPalette& toolkit) {
    if (scheme == platform::ColorScheme::dark && !isDark(toolkit)) return darkSchemePalette();
    if (scheme == platform::ColorScheme::light && isDark(toolkit))
        return QApplication::style()->standardPalette();
    return toolkit;
}

ReadablePalette::ReadablePalette() : toolkit_(QApplication::palette()) {
    apply();
    QCoreApplication::instance()->installEventFilter(this);
}

ScopedConnection ReadablePalette::follow(platform::DesktopAppearance& appearance) {
    appearance_ = &appearance;
    const auto changes =
        std::make_shared<ScopedConnection>(appearance.changed.connectScoped([this] { apply(); }));
    apply();
    return ScopedConnection([this, changes] {
        changes->reset();
        appearance_ = nullptr;
    });
}

bool ReadablePalette::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange) {
        // A change the program did not make is the toolkit's theme changing.
        if (QApplication::palette() != applied_) toolkit_ = QApplication::palette();
        apply();
    }
    return false;
}

void ReadablePalette::setAccent(const QColor& accent) {
    if (accent == accent_) return;
    accent_ = accent;
    apply();
}

void ReadablePalette::apply() {
    const auto scheme = appearance_ ? appearance_->settings().colorScheme : platform::ColorScheme::unknown;
    QPalette readable = withVisibleFieldEdges(withReadableSecondaryText(paletteForScheme(scheme, toolkit_)));
    if (accent_.isValid()) {
        // Selections carry their text on the accent: it is deepened (or
        // lightened) as far as that text needs to read.
        const AccentFill selection = accentFill(fromQColor(accent_));
        for (const auto group : {QPalette::Active, QPalette::Inactive}) {
            readable.setColor(group, QPalette::Highlight, selection.fill);
            readable.setColor(group, QPalette::HighlightedText, selection.text);
        }
    }
    applied_ = readable;
    const QPalette before = QApplication::palette();
    // Setting it announces a change again; the second time there is none.
    if (readable == before) return;
    QApplication::setPalette(readable);
    carryPaletteOver(before, readable);
}

} // namespace rondelix
