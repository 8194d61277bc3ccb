#include "editor/ui/PageActionInput.h"

#include "editor/SliceForm.h"
#include "editor/ui/SliceFormWidgets.h"
#include "qtshared/ElidingButton.h"
#include "qtshared/MnemonicText.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace rondelix {

PageActionInput::PageActionInput(ActionInputContext context, QWidget* parent)
    : ActionInput(std::move(context), parent), menu_(new ElidingButton(this)) {
    menu_->setObjectName(QStringLiteral("pageMenu"));
    column()->addWidget(menu_, 0, Qt::AlignLeft);
}

void PageActionInput::showAction(const MacroAction& action) {
    const auto* page = action.as<MacroAction::OpenSettings>();
    if (!page) return;
    menu_->setText(literalTitle(SliceFormInputs::pageLabel(page->target)));
    SliceFormWidgets::setMenu(menu_, SliceFormInputs::pageMenu(page->target), [this](const std::string& id) {
        form().setAction(MacroAction::OpenSettings{id});
    });
}

} // namespace rondelix
