#include "editor/ui/SliceFormWidgets.h"

#include "icons/ui/SymbolFont.h"
#include "qtshared/QtText.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace rondelix::SliceFormWidgets {

QString menuTitle(std::string_view text) {
    return toQString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QLabel* captionLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    label->setPalette(palette);
    return label;
}

QLabel* quietLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    label->setPalette(palette);
    return label;
}

void setElided(QLabel* label, const QString& text) {
    label->setToolTip(text);
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideMiddle, 220));
}

void setMenu(QPushButton* button, const std::vector<SliceFormInputs::MenuSection>& sections,
             const std::function<void(const std::string&)>& choose) {
    auto* menu = new QMenu(button);
    const QIcon check(SymbolFont::pixmap("checkmark", 14, button->palette().color(QPalette::Text)));
    for (const auto& section : sections) {
        menu->addSection(menuTitle(section.title));
        for (const auto& row : section.rows) {
            QAction* action = menu->addAction(menuTitle(row.title));
            if (row.checked) action->setIcon(check);
            QObject::connect(action, &QAction::triggered, button,
                             [choose, value = row.value] { choose(value); });
        }
    }
    if (QMenu* old = button->menu()) old->deleteLater();
    button->setMenu(menu);
}

} // namespace rondelix::SliceFormWidgets
