#include "editor/ui/SystemActionInput.h"

#include "actions/InstalledAutomations.h"
#include "editor/SliceForm.h"
#include "editor/ui/SliceFormWidgets.h"
#include "platform/CurrentDesktop.h"
#include "qtshared/ElidingButton.h"
#include "qtshared/MnemonicText.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace rondelix {

SystemActionInput::SystemActionInput(ActionInputContext context, QWidget* parent)
    : ActionInput(std::move(context), parent), menu_(new ElidingButton(this)) {
    menu_->setObjectName(QStringLiteral("systemActionMenu"));
    column()->addWidget(menu_, 0, Qt::AlignLeft);
}

void SystemActionInput::showAction(const MacroAction& action) {
    const auto* system = action.as<MacroAction::SystemAction>();
    if (!system) return;
    const InstalledAsShipped asShipped = [&automations = form().automations()](std::string_view name) {
        return automations.installedAsShipped(name);
    };
    const std::string desktop = platform::currentDesktop();
    menu_->setText(literalTitle(SliceFormInputs::systemActionLabel(system->id, desktop, asShipped)));
    SliceFormWidgets::setMenu(
        menu_, SliceFormInputs::systemActionMenu(system->id, desktop, asShipped),
        [this](const std::string& id) { form().setAction(MacroAction::SystemAction{id}); });
}

} // namespace rondelix
