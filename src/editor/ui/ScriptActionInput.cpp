#include "editor/ui/ScriptActionInput.h"

#include "editor/SliceForm.h"
#include "editor/SliceFormScriptExamples.h"
#include "editor/ui/LongTextEdit.h"
#include "editor/ui/ResizableTextEditor.h"
#include "editor/ui/SliceFormWidgets.h"
#include "qtshared/MnemonicText.h"
#include "qtshared/QtText.h"

#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace rondelix {

ScriptActionInput::ScriptActionInput(ActionInputContext context, QWidget* parent)
    : ActionInput(std::move(context), parent) {
    editor_ = new ResizableTextEditor(
        [this](const QString& text) {
            this->context().writeText(text.size(), [&form = form(), typed = text.toStdString()] {
                form.setAction(MacroAction::Script{typed});
            });
        },
        70, 600, 96, this);
    editor_->editor()->setAccessibleName(tr("Script"));
    auto* examples = new QPushButton(tr("Examples && help…"), this);
    examples->setObjectName(QStringLiteral("scriptExamples"));
    QFont small = examples->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    examples->setFont(small);
    auto* menu = new QMenu(examples);
    for (const auto& section : SliceFormScriptExamples::sections()) {
        menu->addSection(toQString(section.title));
        for (const auto& item : section.items) {
            QAction* entry = menu->addAction(literalTitle(item.title));
            connect(entry, &QAction::triggered, this, [this, item] {
                if (item.kind == SliceFormScriptExamples::Item::Kind::link)
                    form().openLink(std::string(item.text));
                else
                    form().setAction(MacroAction::Script{std::string(item.text)});
            });
        }
    }
    examples->setMenu(menu);
    column()->addWidget(editor_);
    column()->addWidget(examples, 0, Qt::AlignLeft);
}

void ScriptActionInput::showAction(const MacroAction& action) {
    if (const auto* script = action.as<MacroAction::Script>()) editor_->setText(toQString(script->source));
}

} // namespace rondelix
