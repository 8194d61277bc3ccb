#include "editor/ui/SliceFormWidgets.h"

#include "icons/ui/SymbolFont.h"
#include "qtshared/ElidingButton.h"
#include "qtshared/ElidingLabel.h"
#include "qtshared/FocusRing.h"
#include "qtshared/MnemonicText.h"
#include "qtshared/QtColor.h"
#include "qtshared/QtText.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>

namespace rondelix::SliceFormWidgets {

namespace {

class FrameFocus : public QObject {
  public:
    explicit FrameFocus(QFrame& frame) : QObject(&frame), frame_(frame) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            frame_.setProperty("focused", event->type() == QEvent::FocusIn);
            frame_.style()->unpolish(&frame_);
            frame_.style()->polish(&frame_);
        }
        return false;
    }

  private:
    QFrame& frame_;
};

} // namespace

void framedField(QFrame& frame, QWidget& field) {
    // The focused border is thicker by the padding it takes, so the field stays put.
    const QString name = frame.objectName();
    frame.setStyleSheet(QStringLiteral("#%1 { %2 padding: 1px; } #%1[focused=\"true\"] { border: 2px solid "
                                       "palette(highlight); padding: 0px; }")
                            .arg(name, QLatin1String(fieldFrameStyle)));
    frame.setFocusProxy(&field);
    FocusRing::drawnByControl(frame);
    field.installEventFilter(new FrameFocus(frame));
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
    auto* label = new ElidingLabel(Qt::ElideMiddle, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    label->setPalette(palette);
    return label;
}

void fillWhenChecked(QPushButton* toggle) {
    const QPalette palette = toggle->palette();
    const auto colour = [&palette](QPalette::ColorRole role) {
        return palette.color(QPalette::Active, role);
    };
    const QColor title = colour(QPalette::HighlightedText);
    // The accent deepened until its title reads on it; the edge of one that
    // is off stands out from the window.
    const QColor on = readableText(fromQColor(colour(QPalette::Highlight)), title);
    const QColor edge =
        toQColor(readableOn(fromQColor(colour(QPalette::Mid)), fromQColor(colour(QPalette::Window)), 3.0));
    toggle->setStyleSheet(
        QStringLiteral("QPushButton { background: %1; color: %2; border: 1px solid %3;"
                       " border-radius: 5px; padding: 3px 12px; }"
                       "QPushButton:checked { background: %4; color: %5; border-color: %4; }"
                       "QPushButton:focus { border: 2px solid %6; padding: 2px 11px; }"
                       "QPushButton:checked:focus { border-color: %2; }")
            .arg(colour(QPalette::Button).name(), colour(QPalette::ButtonText).name(), edge.name(), on.name(),
                 title.name(), colour(QPalette::Highlight).name()));
    FocusRing::drawnByControl(*toggle);
}

void setMenu(ElidingButton* button, const std::vector<SliceFormInputs::MenuSection>& sections,
             const std::function<void(const std::string&)>& choose) {
    auto* menu = new QMenu(button);
    // A greyed row says why on its tip.
    menu->setToolTipsVisible(true);
    const QIcon check(SymbolFont::pixmap("checkmark", 14, button->palette().color(QPalette::Text)));
    for (const auto& section : sections) {
        menu->addSection(toQString(section.title));
        for (const auto& row : section.rows) {
            QAction* action = menu->addAction(literalTitle(row.title));
            if (row.checked) action->setIcon(check);
            if (row.unavailable) {
                action->setEnabled(false);
                action->setToolTip(QString::fromStdString(*row.unavailable));
            }
            QObject::connect(action, &QAction::triggered, button,
                             [choose, value = row.value] { choose(value); });
        }
    }
    if (QMenu* old = button->menu()) old->deleteLater();
    button->setMenu(menu);
}

} // namespace rondelix::SliceFormWidgets
