#include "editor/ui/AppActionInput.h"

#include "editor/SliceForm.h"
#include "editor/ui/SliceFormWidgets.h"
#include "platform/Workspace.h"
#include "qtshared/QtText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace rondelix {

AppActionInput::AppActionInput(ActionInputContext context, QWidget* parent)
    : ActionInput(std::move(context), parent) {
    auto* row = new QHBoxLayout;
    name_ = SliceFormWidgets::quietLabel(this);
    name_->setObjectName(QStringLiteral("appName"));
    auto* choose = new QPushButton(tr("Choose App…"), this);
    choose->setObjectName(QStringLiteral("chooseApp"));
    connect(choose, &QPushButton::clicked, this, [this] {
        if (!this->context().chooseApp) return;
        const auto identifier = this->context().chooseApp(this);
        if (!identifier) return;
        form().setAction(
            MacroAction::App{*identifier, form().services().workspace.applicationPath(*identifier)});
    });
    row->addWidget(name_, 1);
    row->addWidget(choose);
    column()->addLayout(row);
}

void AppActionInput::showAction(const MacroAction& action) {
    if (const auto* app = action.as<MacroAction::App>())
        name_->setText(toQString(SliceFormInputs::appRowName(*app, form().services().workspace)));
}

} // namespace rondelix
