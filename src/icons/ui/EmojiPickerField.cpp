#include "icons/ui/EmojiPickerField.h"

#include "icons/EmojiCatalog.h"
#include "icons/EmojiText.h"
#include "icons/ui/EmojiPopup.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace rondelix {

EmojiPickerField::EmojiPickerField(std::function<void(const std::string&)> onChange, QWidget* parent)
    : QWidget(parent), onChange_(std::move(onChange)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);

    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("emojiField"));
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

void EmojiPickerField::openPopup() {
    if (popup_) popup_->close();
    popup_ = new EmojiPopup(
        installedEmoji(), [this](const std::string& emoji) { insertChosen(emoji); }, this);
    popup_->move(choose_->mapToGlobal(QPoint(0, choose_->height())));
    popup_->show();
}

void EmojiPickerField::insertChosen(const std::string& emoji) {
    field_->setFocus(Qt::OtherFocusReason);
    field_->setText(QString::fromStdString(emoji));
    edited(field_->text());
}

} // namespace rondelix
