#include "icons/ui/EmojiPickerField.h"

#include "icons/EmojiCatalog.h"
#include "icons/EmojiText.h"
#include "icons/ui/AccessibleEmojiPickerField.h"
#include "icons/ui/EmojiPopup.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace rondelix {

EmojiPickerField::EmojiPickerField(std::function<void(const std::string&)> onChange, QWidget* parent)
    : QWidget(parent), onChange_(std::move(onChange)) {
    // Before anything asks the accessibility layer about the widget.
    AccessibleEmojiPickerField::install();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);

    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("emojiField"));
    field_->setAccessibleName(tr("Emoji"));
    field_->setFixedSize(32, 32);
    field_->setAlignment(Qt::AlignCenter);
    QFont large = field_->font();
    large.setPointSizeF(large.pointSizeF() * 1.4);
    field_->setFont(large);
    field_->setStyleSheet(
        QStringLiteral("QLineEdit { background: palette(base); border: 1px solid palette(mid); "
                       "border-radius: 6px; padding: 0; }"));
    choose_ = new QPushButton(tr("Choose Emoji…"), this);
    choose_->setObjectName(QStringLiteral("chooseEmoji"));
    choose_->setToolTip(tr("Open the emoji picker"));

    layout->addWidget(field_);
    layout->addStretch(1);
    layout->addWidget(choose_);

    connect(field_, &QLineEdit::textEdited, this, &EmojiPickerField::edited);
    field_->installEventFilter(this);
    connect(choose_, &QPushButton::clicked, this, [this] {
        field_->setFocus(Qt::OtherFocusReason);
        // The field takes focus first, so the chosen emoji lands in it.
        QTimer::singleShot(0, this, &EmojiPickerField::openPopup);
    });
}

void EmojiPickerField::setEmoji(const std::string& emoji) {
    const QString text = QString::fromStdString(emoji);
    if (field_->text() != text) field_->setText(text);
}

std::string EmojiPickerField::emoji() const {
    return field_->text().toStdString();
}

void EmojiPickerField::edited(const QString& text) {
    std::string kept = text.toStdString();
    if (auto replacement = oneEmojiReplacement(kept)) {
        kept = std::move(*replacement);
        field_->setText(QString::fromStdString(kept));
    }
    if (onChange_) onChange_(kept);
}

bool EmojiPickerField::eventFilter(QObject* watched, QEvent* event) {
    // The line edit's Backspace takes one code point, for correcting an
    // accent typed in parts; in this field that would save half an emoji.
    // It does so with Shift or Super held too; only Control (a whole word)
    // and Alt (undo) change what it does.
    if (watched != field_ || event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Backspace || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
        field_->hasSelectedText() || field_->cursorPosition() == 0)
        return false;
    const QString before = field_->text().left(field_->cursorPosition());
    const auto start = QString::fromStdString(withoutLastCharacter(before.toStdString())).size();
    field_->setSelection(static_cast<int>(start), static_cast<int>(before.size() - start));
    field_->del();
    return true;
}

void EmojiPickerField::openPopup() {
    if (popup_) popup_->close();
    popup_ = new EmojiPopup(
        installedEmoji(), [this](const std::string& emoji) { insertChosen(emoji); }, this);
    // Under the button, its right edge with the button's, kept on the screen.
    QPoint at = choose_->mapToGlobal(QPoint(choose_->width() - popup_->width(), choose_->height()));
    if (const QScreen* screen = choose_->screen()) {
        const QRect room = screen->availableGeometry();
        at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - popup_->width())));
        at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - popup_->height())));
    }
    popup_->move(at);
    popup_->show();
    AccessibleEmojiPickerField::popupOpened(*this);
}

void EmojiPickerField::insertChosen(const std::string& emoji) {
    field_->setFocus(Qt::OtherFocusReason);
    field_->setText(QString::fromStdString(emoji));
    edited(field_->text());
}

} // namespace rondelix
