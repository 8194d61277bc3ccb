#include "app/ui/PaletteCarryOver.h"

#include <QApplication>
#include <QStyle>
#include <QWidget>
#include <array>
#include <optional>

namespace rondelix {

namespace {

constexpr std::array groups = {QPalette::Active, QPalette::Inactive, QPalette::Disabled};

// The new palette's colour for the role that had this colour in the old one:
// the same role first, then any role of the same group. See-through colours,
// black and white are left: those are chosen on purpose (white on an accent).
std::optional<QColor> counterpart(const QColor& colour, QPalette::ColorGroup group, QPalette::ColorRole role,
                                  const QPalette& before, const QPalette& after) {
    if (colour.alpha() != 255 || colour == Qt::white || colour == Qt::black) return std::nullopt;
    if (before.color(group, role) == colour) return after.color(group, role);
    for (int r = 0; r < QPalette::NColorRoles; ++r) {
        const auto other = static_cast<QPalette::ColorRole>(r);
        if (other != QPalette::NoRole && before.color(group, other) == colour)
            return after.color(group, other);
    }
    return std::nullopt;
}

void carryWidgetPalette(QWidget& widget, const QPalette& before, const QPalette& after) {
    QPalette own = widget.palette();
    bool changed = false;
    for (const auto group : groups)
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto role = static_cast<QPalette::ColorRole>(r);
            // Only the roles set on the widget itself; the others follow the
            // application's palette already.
            const int bit = int(group) * int(QPalette::NColorRoles) + r;
            if (role == QPalette::NoRole || !(own.resolveMask() & (quint64(1) << bit))) continue;
            if (const auto next = counterpart(own.color(group, role), group, role, before, after)) {
                own.setColor(group, role, *next);
                changed = true;
            }
        }
    if (changed) widget.setPalette(own);
}

} // namespace

void carryPaletteOver(const QPalette& before, const QPalette& after) {
    for (QWidget* widget : QApplication::allWidgets()) {
        if (widget->testAttribute(Qt::WA_SetPalette)) carryWidgetPalette(*widget, before, after);
        // A style sheet looks its palette() references up only when it is set.
        if (const QString sheet = widget->styleSheet(); !sheet.isEmpty()) {
            widget->setStyleSheet(QString());
            widget->setStyleSheet(sheet);
        }
    }
}

} // namespace rondelix
