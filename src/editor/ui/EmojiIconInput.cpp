#include "editor/ui/EmojiIconInput.h"

#include "editor/SliceForm.h"
#include "icons/ui/EmojiPickerField.h"

#include <QVBoxLayout>

namespace rondelix {

EmojiIconInput::EmojiIconInput(SliceForm& form, QWidget* parent) : IconInput(form, parent) {
    field_ = new EmojiPickerField(
        [this](const std::string& emoji) { this->form().setIcon(Icon::Emoji{emoji}); }, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(field_);
}

void EmojiIconInput::showIcon(const Icon& icon) {
    if (const auto* emoji = icon.as<Icon::Emoji>()) field_->setEmoji(emoji->text);
}

} // namespace rondelix
