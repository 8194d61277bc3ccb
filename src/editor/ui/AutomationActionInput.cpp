#include "editor/ui/AutomationActionInput.h"

#include "actions/InstalledAutomations.h"
#include "editor/SliceForm.h"
#include "editor/ui/SliceFormWidgets.h"
#include "qtshared/ElidingComboBox.h"
#include "qtshared/FlowLayout.h"
#include "qtshared/QtText.h"
#include "qtshared/ScrollNeedsFocus.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace rondelix {

AutomationActionInput::AutomationActionInput(ActionInputContext context, QWidget* parent)
    : ActionInput(std::move(context), parent), field_(new QLineEdit(this)),
      fieldCaption_(SliceFormWidgets::captionLabel(
          tr("Type the exact name of an automation in your automations folder."), this)),
      picker_(new ElidingComboBox(this)) {
    field_->setObjectName(QStringLiteral("automationName"));
    field_->setPlaceholderText(tr("Automation name"));
    field_->setAccessibleName(field_->placeholderText());
    connect(field_, &QLineEdit::textEdited, this,
            [this](const QString& text) { form().setAction(MacroAction::Shortcut{text.toStdString()}); });
    picker_->setObjectName(QStringLiteral("automationPicker"));
    // The names arrive after the picker is first shown: it widens to the longest.
    picker_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ScrollNeedsFocus::apply(*picker_);
    connect(picker_, &QComboBox::activated, this, [this](int index) {
        form().setAction(MacroAction::Shortcut{picker_->itemData(index).toString().toStdString()});
    });
    column()->addWidget(field_);
    column()->addWidget(fieldCaption_);
    column()->addWidget(picker_, 0, Qt::AlignLeft);
    // The picker sits under the Action row's own label; screen readers hear
    // this one, which is never shown.
    auto* pickerLabel = new QLabel(tr("Automation"), this);
    pickerLabel->setBuddy(picker_);
    pickerLabel->hide();

    // Side by side where the column has the room, one under the other where not.
    auto* buttons = new FlowLayout(12, 6);
    auto* open = new QPushButton(tr("Open Automations"), this);
    auto* setup = new QPushButton(tr("Set Up System Actions…"), this);
    connect(open, &QPushButton::clicked, this, [this] { form().automations().openFolder(); });
    connect(setup, &QPushButton::clicked, this, [this] { form().showAutomationSetup(); });
    buttons->addWidget(open);
    buttons->addWidget(setup);
    column()->addLayout(buttons);
}

void AutomationActionInput::showAction(const MacroAction& action) {
    const auto* shortcut = action.as<MacroAction::Shortcut>();
    if (!shortcut) return;
    // With names to offer the input is a menu of them, else a field.
    const auto& installed = form().automations().names();
    field_->setVisible(installed.empty());
    fieldCaption_->setVisible(installed.empty());
    picker_->setVisible(!installed.empty());
    if (installed.empty()) {
        if (field_->text() != toQString(shortcut->name)) field_->setText(toQString(shortcut->name));
        return;
    }
    const QSignalBlocker quiet(picker_);
    picker_->clear();
    for (const auto& row : SliceFormInputs::automationRows(shortcut->name, installed)) {
        picker_->addItem(toQString(row.title), toQString(row.value));
        if (row.checked) picker_->setCurrentIndex(picker_->count() - 1);
    }
}

} // namespace rondelix
