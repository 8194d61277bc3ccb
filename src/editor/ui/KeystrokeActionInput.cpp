#include "editor/ui/KeystrokeActionInput.h"

#include "editor/SliceForm.h"
#include "editor/ui/SliceFormWidgets.h"
#include "icons/ui/SymbolFont.h"
#include "model/KeyComboText.h"
#include "model/SystemColors.h"
#include "qtshared/ElidingLabel.h"
#include "qtshared/QtColor.h"
#include "qtshared/QtText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace rondelix {

namespace Inputs = SliceFormInputs;

KeystrokeActionInput::KeystrokeActionInput(ActionInputContext context, QWidget* parent)
    : ActionInput(std::move(context), parent), display_(new ElidingLabel(Qt::ElideMiddle, this)),
      record_(new QPushButton(this)) {
    column()->setSpacing(8);
    auto* displayRow = new QHBoxLayout;
    display_->setObjectName(QStringLiteral("comboDisplay"));
    display_->setMinimumWidth(54);
    QFont large = display_->font();
    large.setPointSizeF(large.pointSizeF() * 1.4);
    large.setWeight(QFont::DemiBold);
    display_->setFont(large);
    record_->setObjectName(QStringLiteral("recordButton"));
    connect(record_, &QPushButton::clicked, this, [this] { form().pressRecord(); });
    displayRow->addWidget(display_);
    displayRow->addStretch(1);
    displayRow->addWidget(record_);
    column()->addLayout(displayRow);

    auto* modifierRow = new QHBoxLayout;
    modifierRow->setSpacing(10);
    for (const Inputs::Modifier modifier : Inputs::modifierOrder) {
        auto* toggle = new QPushButton(toQString(Inputs::modifierTitle(modifier)), this);
        toggle->setObjectName(QStringLiteral("modifier") + toQString(Inputs::modifierTitle(modifier)));
        toggle->setCheckable(true);
        SliceFormWidgets::fillWhenChecked(toggle);
        connect(toggle, &QPushButton::clicked, this,
                [this, modifier](bool on) { setModifier(modifier, on); });
        modifierRow->addWidget(toggle);
        toggles_.emplace_back(modifier, toggle);
    }
    modifierRow->addStretch(1);
    column()->addLayout(modifierRow);

    auto* keyRow = new QHBoxLayout;
    keyRow->setSpacing(8);
    // Made after the toggles, so the Tab order follows the screen.
    keyField_ = new QLineEdit(this);
    keyField_->setObjectName(QStringLiteral("keyField"));
    keyField_->setPlaceholderText(tr("type a letter, digit, or punctuation"));
    connect(keyField_, &QLineEdit::textEdited, this, [this](const QString& text) { typeKey(text); });
    QLabel* keyLabel = SliceFormWidgets::captionLabel(tr("Key"), this);
    keyLabel->setBuddy(keyField_);
    keyRow->addWidget(keyLabel);
    keyRow->addWidget(keyField_, 1);
    column()->addLayout(keyRow);
    column()->addWidget(SliceFormWidgets::captionLabel(
        tr("If an F-key changes brightness or volume instead of being recorded, hold Fn while you press it."),
        this));
}

void KeystrokeActionInput::setModifier(Inputs::Modifier modifier, bool on) {
    const Slice slice = form().slice();
    if (const auto* keystroke = slice.action.as<MacroAction::Keystroke>())
        form().setAction(MacroAction::Keystroke{Inputs::withModifier(keystroke->combo, modifier, on)});
}

void KeystrokeActionInput::typeKey(const QString& text) {
    const Slice before = form().slice();
    const auto* keystroke = before.action.as<MacroAction::Keystroke>();
    if (!keystroke) return;
    if (const auto written = Inputs::keyFieldWrite(keystroke->combo, text.toStdString()))
        form().setAction(MacroAction::Keystroke{*written});
    // Whatever was typed, the field goes back to naming the key.
    const Slice after = form().slice();
    if (const auto* now = after.action.as<MacroAction::Keystroke>())
        keyField_->setText(toQString(Inputs::keyFieldText(now->combo)));
}

void KeystrokeActionInput::showAction(const MacroAction& action) {
    const auto* keystroke = action.as<MacroAction::Keystroke>();
    if (!keystroke) return;
    const KeyCombo& combo = keystroke->combo;
    display_->setText(toQString(KeyComboText::displayString(combo)));
    const bool recording = form().recorder().isRecording();
    record_->setText(recording ? tr("Press a key…") : tr("Record"));
    const QColor button = record_->palette().color(QPalette::Active, QPalette::Button);
    record_->setIcon(QIcon(SymbolFont::pixmap(recording ? "record.circle.fill" : "record.circle", 16,
                                              recording ? readableText(SystemColors::red, button)
                                                        : palette().color(QPalette::ButtonText))));
    record_->setStyleSheet(recording ? textColorStyle(SystemColors::red, button) : QString());
    for (const auto& [modifier, toggle] : toggles_)
        toggle->setChecked(Inputs::modifierIsOn(combo, modifier));
    const QString keyText = toQString(Inputs::keyFieldText(combo));
    if (keyField_->text() != keyText) keyField_->setText(keyText);
    keyField_->setEnabled(Inputs::keyFieldEditable(combo));
}

} // namespace rondelix
