#include "editor/ui/TextActionInput.h"

#include "editor/SliceForm.h"
#include "editor/ui/LongTextEdit.h"
#include "editor/ui/ResizableTextEditor.h"
#include "qtshared/QtText.h"

#include <QVBoxLayout>

namespace rondelix {

TextActionInput::TextActionInput(ActionInputContext context, QWidget* parent)
    : ActionInput(std::move(context), parent) {
    editor_ = new ResizableTextEditor(
        [this](const QString& text) {
            this->context().writeText(text.size(), [&form = form(), typed = text.toStdString()] {
                form.setAction(MacroAction::Text{typed});
            });
        },
        70, 600, 96, this);
    editor_->editor()->setAccessibleName(tr("Text"));
    column()->addWidget(editor_);
}

void TextActionInput::showAction(const MacroAction& action) {
    if (const auto* text = action.as<MacroAction::Text>()) editor_->setText(toQString(text->text));
}

} // namespace rondelix
