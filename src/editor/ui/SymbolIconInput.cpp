#include "editor/ui/SymbolIconInput.h"

#include "editor/SliceForm.h"
#include "editor/SliceFormInputs.h"
#include "icons/ui/SymbolFont.h"
#include "icons/ui/SymbolGridPicker.h"
#include "qtshared/QtText.h"

#include <QLabel>

namespace rondelix {

namespace {

constexpr int previewSize = 22;

} // namespace

SymbolIconInput::SymbolIconInput(SliceForm& form, QWidget* parent)
    : IconInput(form, parent), preview_(new QLabel) {
    setObjectName(QStringLiteral("symbolRow"));
    preview_->setAlignment(Qt::AlignCenter);
    name_ = layOutChooserRow(preview_, tr("Choose Symbol…"), [this] { chooseSymbol(); });
}

void SymbolIconInput::showIcon(const Icon& icon) {
    const auto* symbol = icon.as<Icon::SfSymbol>();
    if (!symbol) return;
    name_->setText(toQString(SliceFormInputs::symbolRowLabel(*symbol)));
    preview_->setPixmap(SymbolFont::pixmap(symbol->name.empty() ? "questionmark" : symbol->name, previewSize,
                                           palette().color(QPalette::Text)));
}

void SymbolIconInput::chooseSymbol() {
    SymbolGridPicker picker([this](const std::string& name) { form().setIcon(Icon::SfSymbol{name}); }, this);
    picker.exec();
}

} // namespace rondelix
