#include "editor/ui/LinkActionInput.h"

#include "editor/SliceForm.h"
#include "qtshared/QtText.h"

#include <QLineEdit>
#include <QVBoxLayout>

namespace rondelix {

LinkActionInput::LinkActionInput(ActionInputContext context, QWidget* parent)
    : ActionInput(std::move(context), parent), field_(new QLineEdit(this)) {
    field_->setObjectName(QStringLiteral("linkField"));
    field_->setAccessibleName(tr("URL"));
    field_->setPlaceholderText(QStringLiteral("https://example.com"));
    connect(field_, &QLineEdit::textEdited, this,
            [this](const QString& text) { form().setAction(MacroAction::Url{text.toStdString()}); });
    column()->addWidget(field_);
}

void LinkActionInput::showAction(const MacroAction& action) {
    const auto* url = action.as<MacroAction::Url>();
    if (url && field_->text() != toQString(url->url)) field_->setText(toQString(url->url));
}

} // namespace rondelix
