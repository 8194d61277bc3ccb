#include "editor/ui/SliceFormView.h"

#include "actions/InstalledAutomations.h"
#include "editor/SliceFormInputs.h"
#include "editor/SliceFormScriptExamples.h"
#include "editor/ui/GrowingTextField.h"
#include "editor/ui/KeystrokeRecorderFilter.h"
#include "editor/ui/ResizableTextEditor.h"
#include "icons/ui/CustomIconThumbnail.h"
#include "icons/ui/EmojiPickerField.h"
#include "icons/ui/SymbolFont.h"
#include "icons/ui/SymbolGridPicker.h"
#include "model/KeyComboText.h"
#include "platform/Workspace.h"
#include "qtshared/ProblemCaption.h"
#include "store/ConfigStore.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace rondelix {

namespace {

using namespace SliceFormKinds;
namespace Inputs = SliceFormInputs;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}
QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
// Button and menu titles read "&" as a mnemonic mark; these show it.
QString shown(std::string_view text) {
    return qs(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

constexpr const char* fieldFrameStyle =
    "background: palette(base); border: 1px solid palette(mid); border-radius: 6px;";

QLabel* rowLabel(const QString& text, int topPadding, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setContentsMargins(0, topPadding, 0, 0);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    QFont font = label->font();
    font.setWeight(QFont::DemiBold);
    label->setFont(font);
    return label;
}

QLabel* captionLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    label->setPalette(palette);
    return label;
}

// Removes a widget from the form once control returns to the event loop, so
// a signal still running in it finishes first.
void retire(QWidget* widget) {
    if (!widget) return;
    widget->hide();
    widget->setParent(nullptr);
    widget->deleteLater();
}

// A chooser row: a 32-point preview on the field background, a name, and
// the button that changes it.
struct ChooserRow {
    QWidget* row;
    QLabel* name;
};

ChooserRow chooserRow(QWidget* preview, const QString& buttonTitle, std::function<void()> action,
                      QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    auto* frame = new QFrame(row);
    frame->setObjectName(QStringLiteral("chooserPreview"));
    frame->setFixedSize(32, 32);
    frame->setStyleSheet(QStringLiteral("#chooserPreview { %1 }").arg(QLatin1String(fieldFrameStyle)));
    auto* frameLayout = new QHBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    preview->setParent(frame);
    frameLayout->addWidget(preview);
    auto* name = new QLabel(row);
    name->setObjectName(QStringLiteral("chooserName"));
    QPalette palette = name->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
    name->setPalette(palette);
    auto* button = new QPushButton(buttonTitle, row);
    QObject::connect(button, &QPushButton::clicked, row, std::move(action));
    layout->addWidget(frame);
    layout->addWidget(name, 1);
    layout->addWidget(button);
    return {row, name};
}

void setElided(QLabel* label, const QString& text) {
    label->setToolTip(text);
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideMiddle, 220));
}

// Fills a button's menu with titled sections; the checked row shows a check
// mark. The old menu goes once its own signal has finished.
void setMenu(QPushButton* button, const std::vector<Inputs::MenuSection>& sections,
             const std::function<void(const std::string&)>& choose) {
    auto* menu = new QMenu(button);
    const QIcon check(SymbolFont::pixmap("checkmark", 14, button->palette().color(QPalette::Text)));
    for (const auto& section : sections) {
        menu->addSection(shown(section.title));
        for (const auto& row : section.rows) {
            QAction* action = menu->addAction(shown(row.title));
            if (row.checked) action->setIcon(check);
            QObject::connect(action, &QAction::triggered, button,
                             [choose, value = row.value] { choose(value); });
        }
    }
    if (QMenu* old = button->menu()) old->deleteLater();
    button->setMenu(menu);
}

// Puts the focusable controls of a rebuilt input right after `anchor` in the
// Tab order, where they sit on screen, rather than after everything made
// before them.
void chainAfter(QWidget* anchor, QWidget* input) {
    QWidget* previous = anchor;
    for (QWidget* child : input->findChildren<QWidget*>()) {
        if (!(child->focusPolicy() & Qt::TabFocus)) continue;
        QWidget::setTabOrder(previous, child);
        previous = child;
    }
}

} // namespace

SliceFormView::SliceFormView(SliceFormServices services, const SliceSlot& slot, ChooseApp chooseApp,
                             QWidget* parent)
    : QWidget(parent), form_(std::move(services), slot), chooseApp_(std::move(chooseApp)) {
    setObjectName(QStringLiteral("sliceForm"));
    heldTextTimer_ = new QTimer(this);
    heldTextTimer_->setSingleShot(true);
    connect(heldTextTimer_, &QTimer::timeout, this, [this] { flushHeldText(); });
    form_.beforeWrite = [this] { flushHeldText(); };
    recorderFilter_ = std::make_unique<KeystrokeRecorderFilter>(form_.recorder(), form_.services().keyboard);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(14);
    grid->setColumnStretch(1, 1);

    // Label
    auto* labelFrame = new QFrame(this);
    labelFrame->setObjectName(QStringLiteral("labelFrame"));
    labelFrame->setStyleSheet(QStringLiteral("#labelFrame { %1 }").arg(QLatin1String(fieldFrameStyle)));
    auto* labelFrameLayout = new QVBoxLayout(labelFrame);
    labelFrameLayout->setContentsMargins(3, 2, 3, 2);
    label_ = new GrowingTextField(
        [this](const QString& text) {
            writeText(text.size(), [this, label = text.toStdString()] { form_.setLabel(label); });
        },
        labelFrame);
    labelFrameLayout->addWidget(label_);
    grid->addWidget(rowLabel(tr("Label"), 4, this), 0, 0, Qt::AlignTop);
    grid->addWidget(labelFrame, 0, 1);

    // Icon
    auto* iconBox = new QWidget(this);
    iconColumn_ = new QVBoxLayout(iconBox);
    iconColumn_->setContentsMargins(0, 0, 0, 0);
    iconColumn_->setSpacing(8);
    iconKind_ = new QComboBox(iconBox);
    iconKind_->setObjectName(QStringLiteral("iconKind"));
    for (const IconKind kind : allIconKinds)
        iconKind_->addItem(qs(title(kind)));
    iconKind_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    iconKind_->setToolTip(
        tr("Auto picks an icon to match the action (an app's icon, a website's favicon, or none)."));
    connect(iconKind_, &QComboBox::activated, this,
            [this](int index) { form_.setIconKind(allIconKinds[static_cast<std::size_t>(index)]); });
    iconColumn_->addWidget(iconKind_, 0, Qt::AlignLeft);
    grid->addWidget(rowLabel(tr("Icon"), 5, this), 1, 0, Qt::AlignTop);
    grid->addWidget(iconBox, 1, 1);

    // Action
    auto* actionBox = new QWidget(this);
    actionColumn_ = new QVBoxLayout(actionBox);
    actionColumn_->setContentsMargins(0, 0, 0, 0);
    actionColumn_->setSpacing(8);
    actionKind_ = new QComboBox(actionBox);
    actionKind_->setObjectName(QStringLiteral("actionKind"));
    for (const ActionKind kind : allActionKinds)
        actionKind_->addItem(qs(title(kind)));
    actionKind_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(actionKind_, &QComboBox::activated, this,
            [this](int index) { form_.setActionKind(allActionKinds[static_cast<std::size_t>(index)]); });
    caption_ = captionLabel({}, actionBox);
    caption_->setObjectName(QStringLiteral("actionCaption"));
    warning_ = new QWidget(actionBox);
    warning_->setObjectName(QStringLiteral("unconfiguredWarning"));
    auto* warningLayout = new QHBoxLayout(warning_);
    warningLayout->setContentsMargins(0, 0, 0, 0);
    warningLayout->setSpacing(4);
    const QColor orange(255, 149, 0);
    auto* warningIcon = new QLabel(warning_);
    warningIcon->setPixmap(SymbolFont::pixmap("exclamationmark.triangle.fill", 12, orange));
    warningText_ = captionLabel({}, warning_);
    QPalette warningPalette = warningText_->palette();
    warningPalette.setColor(QPalette::WindowText, orange);
    warningText_->setPalette(warningPalette);
    warningLayout->addWidget(warningIcon, 0, Qt::AlignTop);
    warningLayout->addWidget(warningText_, 1);
    actionColumn_->addWidget(actionKind_, 0, Qt::AlignLeft);
    actionColumn_->addWidget(caption_);
    actionColumn_->addWidget(warning_);
    grid->addWidget(rowLabel(tr("Action"), 5, this), 2, 0, Qt::AlignTop);
    grid->addWidget(actionBox, 2, 1);
    grid->setRowStretch(3, 1);

    configConnection_ = form_.services().store.configChanged.connectScoped([this] {
        // A change from elsewhere (undo, a reload) while a long text waits
        // wins over the wait: the form shows what is stored. The form's own
        // writes hand the waiting text over first, so none waits then.
        heldText_ = nullptr;
        heldTextTimer_->stop();
        refresh();
    });
    automationsConnection_ = form_.automations().changed.connectScoped([this] {
        flushHeldText();
        refresh();
    });
    recordingConnection_ = form_.recorder().recordingChanged.connectScoped([this] {
        flushHeldText();
        refresh();
    });
    refresh();
}

SliceFormView::~SliceFormView() {
    flushHeldText();
    form_.beforeWrite = nullptr;
    // Stopping the recorder tells its watchers; this view is no longer one.
    configConnection_.reset();
    automationsConnection_.reset();
    recordingConnection_.reset();
    form_.recorder().stop();
}

void SliceFormView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!listedAutomations_) {
        listedAutomations_ = true;
        form_.automations().refresh();
    }
}

void SliceFormView::writeText(qsizetype length, std::function<void()> write) {
    // A quarter of a megabyte: a slice this large is pasted, not typed.
    constexpr qsizetype largeText = 256 * 1024;
    if (length < largeText) {
        heldText_ = nullptr;
        heldTextTimer_->stop();
        write();
        return;
    }
    heldText_ = std::move(write);
    heldTextTimer_->start(300);
}

void SliceFormView::flushHeldText() {
    if (!heldText_) return;
    auto write = std::move(heldText_);
    heldText_ = nullptr;
    heldTextTimer_->stop();
    write();
}

void SliceFormView::hideEvent(QHideEvent* event) {
    flushHeldText();
    // A capture never outlives the form on screen.
    form_.recorder().stop();
    QWidget::hideEvent(event);
}

void SliceFormView::refresh() {
    const Slice slice = form_.slice();
    label_->setText(qs(slice.label));
    iconKind_->setCurrentIndex(static_cast<int>(kindOf(slice.icon)));
    refreshIconInput(slice);
    // A kind only a newer version knows selects no menu item.
    const auto actionKind = kindOf(slice.action);
    const auto listed = std::find(allActionKinds.begin(), allActionKinds.end(), actionKind);
    actionKind_->setCurrentIndex(
        listed == allActionKinds.end() ? -1 : static_cast<int>(listed - allActionKinds.begin()));
    caption_->setText(actionKind ? qs(caption(*actionKind)) : QString());
    refreshActionInput(slice);
    const auto warning = unconfiguredWarning(slice.action);
    warning_->setVisible(warning.has_value());
    if (warning) warningText_->setText(qs(*warning));
}

void SliceFormView::refreshIconInput(const Slice& slice) {
    const IconKind kind = kindOf(slice.icon);
    if (iconInputKind_ != kind) {
        retire(iconInput_);
        iconInput_ = buildIconInput(slice.icon);
        iconInputKind_ = kind;
        if (iconInput_) {
            iconColumn_->addWidget(iconInput_);
            iconInput_->show();
            chainAfter(iconKind_, iconInput_);
        }
    }
    if (updateIconInput_) updateIconInput_(slice.icon);
}

QWidget* SliceFormView::buildIconInput(const Icon& icon) {
    updateIconInput_ = nullptr;
    constexpr int previewSize = 22;
    if (icon.is<Icon::SfSymbol>()) {
        auto* preview = new QLabel;
        preview->setAlignment(Qt::AlignCenter);
        auto row = chooserRow(
            preview, tr("Choose Symbol…"), [this] { chooseSymbol(); }, this);
        row.row->setObjectName(QStringLiteral("symbolRow"));
        updateIconInput_ = [this, preview, name = row.name](const Icon& current) {
            const auto* symbol = current.as<Icon::SfSymbol>();
            if (!symbol) return;
            setElided(name, qs(Inputs::symbolRowLabel(*symbol)));
            preview->setPixmap(SymbolFont::pixmap(symbol->name.empty() ? "questionmark" : symbol->name,
                                                  previewSize, palette().color(QPalette::Text)));
        };
        return row.row;
    }
    if (icon.is<Icon::Emoji>()) {
        auto* field = new EmojiPickerField(
            [this](const std::string& emoji) { form_.setIcon(Icon::Emoji{emoji}); }, this);
        updateIconInput_ = [field](const Icon& current) {
            if (const auto* emoji = current.as<Icon::Emoji>()) field->setEmoji(emoji->text);
        };
        return field;
    }
    if (icon.is<Icon::CustomImage>()) {
        auto* column = new QWidget(this);
        auto* problem = new ProblemCaption("imageProblem", column);
        auto* thumbnail = new CustomIconThumbnail;
        auto row = chooserRow(
            thumbnail, tr("Choose Image…"), [this, problem] { problem->say(form_.chooseImage()); }, column);
        row.row->setObjectName(QStringLiteral("imageRow"));
        auto* lines = new QVBoxLayout(column);
        lines->setContentsMargins(0, 0, 0, 0);
        lines->addWidget(row.row);
        lines->addWidget(problem);
        updateIconInput_ = [thumbnail, name = row.name](const Icon& current) {
            const auto* image = current.as<Icon::CustomImage>();
            if (!image) return;
            setElided(name, qs(Inputs::imageRowLabel(*image)));
            thumbnail->setFilename(image->filename);
        };
        return column;
    }
    return nullptr;
}

void SliceFormView::chooseSymbol() {
    SymbolGridPicker picker([this](const std::string& name) { form_.setIcon(Icon::SfSymbol{name}); }, this);
    picker.exec();
}

void SliceFormView::refreshActionInput(const Slice& slice) {
    const auto kind = kindOf(slice.action);
    // The automation input is a field without names to offer and a menu with them.
    const bool showsList = !form_.automations().names().empty();
    if (actionInputKind_ != kind || (kind == ActionKind::shortcut && showsList != actionInputShowsList_)) {
        retire(actionInput_);
        actionInput_ = buildActionInput(slice.action);
        actionInputKind_ = kind;
        actionInputShowsList_ = showsList;
        actionColumn_->insertWidget(actionColumn_->indexOf(warning_), actionInput_);
        actionInput_->show();
        chainAfter(actionKind_, actionInput_);
    }
    if (updateActionInput_) updateActionInput_(slice.action);
}

QWidget* SliceFormView::buildActionInput(const MacroAction& action) {
    updateActionInput_ = nullptr;
    auto* input = new QWidget(this);
    input->setObjectName(QStringLiteral("actionInput"));
    auto* column = new QVBoxLayout(input);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);

    const auto kind = kindOf(action);
    if (!kind) return input;
    switch (*kind) {
    case ActionKind::text: {
        auto* editor = new ResizableTextEditor(
            [this](const QString& text) {
                writeText(text.size(),
                          [this, typed = text.toStdString()] { form_.setAction(MacroAction::Text{typed}); });
            },
            70, 600, 96, input);
        column->addWidget(editor);
        updateActionInput_ = [editor](const MacroAction& current) {
            if (const auto* text = current.as<MacroAction::Text>()) editor->setText(qs(text->text));
        };
        break;
    }
    case ActionKind::app: {
        auto* row = new QHBoxLayout;
        auto* name = new QLabel(input);
        name->setObjectName(QStringLiteral("appName"));
        QPalette palette = name->palette();
        palette.setColor(QPalette::WindowText, palette.color(QPalette::PlaceholderText));
        name->setPalette(palette);
        auto* choose = new QPushButton(tr("Choose App…"), input);
        choose->setObjectName(QStringLiteral("chooseApp"));
        connect(choose, &QPushButton::clicked, this, [this] {
            if (!chooseApp_) return;
            const auto identifier = chooseApp_(this);
            if (!identifier) return;
            form_.setAction(
                MacroAction::App{*identifier, form_.services().workspace.applicationPath(*identifier)});
        });
        row->addWidget(name, 1);
        row->addWidget(choose);
        column->addLayout(row);
        updateActionInput_ = [this, name](const MacroAction& current) {
            if (const auto* app = current.as<MacroAction::App>())
                setElided(name, qs(Inputs::appRowName(*app, form_.services().workspace)));
        };
        break;
    }
    case ActionKind::url: {
        auto* field = new QLineEdit(input);
        field->setObjectName(QStringLiteral("linkField"));
        field->setPlaceholderText(QStringLiteral("https://example.com"));
        connect(field, &QLineEdit::textEdited, this,
                [this](const QString& text) { form_.setAction(MacroAction::Url{text.toStdString()}); });
        column->addWidget(field);
        updateActionInput_ = [field](const MacroAction& current) {
            const auto* url = current.as<MacroAction::Url>();
            if (url && field->text() != qs(url->url)) field->setText(qs(url->url));
        };
        break;
    }
    case ActionKind::systemAction: {
        auto* menu = new QPushButton(input);
        menu->setObjectName(QStringLiteral("systemActionMenu"));
        column->addWidget(menu, 0, Qt::AlignLeft);
        updateActionInput_ = [this, menu](const MacroAction& current) {
            const auto* system = current.as<MacroAction::SystemAction>();
            if (!system) return;
            menu->setText(shown(Inputs::systemActionLabel(system->id)));
            setMenu(menu, Inputs::systemActionMenu(system->id),
                    [this](const std::string& id) { form_.setAction(MacroAction::SystemAction{id}); });
        };
        break;
    }
    case ActionKind::script: {
        auto* editor = new ResizableTextEditor(
            [this](const QString& text) {
                writeText(text.size(), [this, typed = text.toStdString()] {
                    form_.setAction(MacroAction::Script{typed});
                });
            },
            70, 600, 96, input);
        auto* examples = new QPushButton(tr("Examples && help…"), input);
        examples->setObjectName(QStringLiteral("scriptExamples"));
        QFont small = examples->font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        examples->setFont(small);
        auto* menu = new QMenu(examples);
        for (const auto& section : SliceFormScriptExamples::sections()) {
            menu->addSection(shown(section.title));
            for (const auto& item : section.items) {
                QAction* entry = menu->addAction(shown(item.title));
                connect(entry, &QAction::triggered, this, [this, item] {
                    if (item.kind == SliceFormScriptExamples::Item::Kind::link)
                        form_.openLink(std::string(item.text));
                    else
                        form_.setAction(MacroAction::Script{std::string(item.text)});
                });
            }
        }
        examples->setMenu(menu);
        column->addWidget(editor);
        column->addWidget(examples, 0, Qt::AlignLeft);
        updateActionInput_ = [editor](const MacroAction& current) {
            if (const auto* script = current.as<MacroAction::Script>()) editor->setText(qs(script->source));
        };
        break;
    }
    case ActionKind::shortcut: {
        if (form_.automations().names().empty()) {
            auto* field = new QLineEdit(input);
            field->setObjectName(QStringLiteral("automationName"));
            field->setPlaceholderText(tr("Automation name"));
            connect(field, &QLineEdit::textEdited, this, [this](const QString& text) {
                form_.setAction(MacroAction::Shortcut{text.toStdString()});
            });
            column->addWidget(field);
            column->addWidget(
                captionLabel(tr("Type the exact name of an automation in your automations folder."), input));
            updateActionInput_ = [field](const MacroAction& current) {
                const auto* shortcut = current.as<MacroAction::Shortcut>();
                if (shortcut && field->text() != qs(shortcut->name)) field->setText(qs(shortcut->name));
            };
        } else {
            auto* picker = new QComboBox(input);
            picker->setObjectName(QStringLiteral("automationPicker"));
            connect(picker, &QComboBox::activated, this, [this, picker](int index) {
                form_.setAction(MacroAction::Shortcut{picker->itemData(index).toString().toStdString()});
            });
            column->addWidget(picker, 0, Qt::AlignLeft);
            updateActionInput_ = [this, picker](const MacroAction& current) {
                const auto* shortcut = current.as<MacroAction::Shortcut>();
                if (!shortcut) return;
                const QSignalBlocker quiet(picker);
                picker->clear();
                for (const auto& row : Inputs::automationRows(shortcut->name, form_.automations().names())) {
                    picker->addItem(qs(row.title), qs(row.value));
                    if (row.checked) picker->setCurrentIndex(picker->count() - 1);
                }
            };
        }
        auto* buttons = new QHBoxLayout;
        buttons->setSpacing(12);
        auto* open = new QPushButton(tr("Open Automations"), input);
        auto* setup = new QPushButton(tr("Set Up System Actions…"), input);
        connect(open, &QPushButton::clicked, this, [this] { form_.automations().openFolder(); });
        connect(setup, &QPushButton::clicked, this, [this] { form_.showAutomationSetup(); });
        buttons->addWidget(open);
        buttons->addWidget(setup);
        buttons->addStretch(1);
        column->addLayout(buttons);
        break;
    }
    case ActionKind::keystroke: {
        column->setSpacing(8);
        auto* displayRow = new QHBoxLayout;
        auto* display = new QLabel(input);
        display->setObjectName(QStringLiteral("comboDisplay"));
        display->setMinimumWidth(54);
        QFont large = display->font();
        large.setPointSizeF(large.pointSizeF() * 1.4);
        large.setWeight(QFont::DemiBold);
        display->setFont(large);
        auto* record = new QPushButton(input);
        record->setObjectName(QStringLiteral("recordButton"));
        connect(record, &QPushButton::clicked, this, [this] { form_.pressRecord(); });
        displayRow->addWidget(display);
        displayRow->addStretch(1);
        displayRow->addWidget(record);
        column->addLayout(displayRow);

        auto* modifierRow = new QHBoxLayout;
        modifierRow->setSpacing(10);
        std::vector<std::pair<Inputs::Modifier, QPushButton*>> toggles;
        for (const Inputs::Modifier modifier : Inputs::modifierOrder) {
            auto* toggle = new QPushButton(qs(Inputs::modifierTitle(modifier)), input);
            toggle->setObjectName(QStringLiteral("modifier") + qs(Inputs::modifierTitle(modifier)));
            toggle->setCheckable(true);
            connect(toggle, &QPushButton::clicked, this, [this, modifier](bool on) {
                const Slice slice = form_.slice();
                const auto* keystroke = slice.action.as<MacroAction::Keystroke>();
                if (keystroke)
                    form_.setAction(
                        MacroAction::Keystroke{Inputs::withModifier(keystroke->combo, modifier, on)});
            });
            modifierRow->addWidget(toggle);
            toggles.emplace_back(modifier, toggle);
        }
        modifierRow->addStretch(1);
        column->addLayout(modifierRow);

        auto* keyRow = new QHBoxLayout;
        keyRow->setSpacing(8);
        auto* keyField = new QLineEdit(input);
        keyField->setObjectName(QStringLiteral("keyField"));
        keyField->setPlaceholderText(tr("type a letter, digit, or punctuation"));
        connect(keyField, &QLineEdit::textEdited, this, [this, keyField](const QString& text) {
            const Slice before = form_.slice();
            const auto* keystroke = before.action.as<MacroAction::Keystroke>();
            if (!keystroke) return;
            if (const auto written = Inputs::keyFieldWrite(keystroke->combo, text.toStdString()))
                form_.setAction(MacroAction::Keystroke{*written});
            // Whatever was typed, the field goes back to naming the key.
            const Slice after = form_.slice();
            const auto* now = after.action.as<MacroAction::Keystroke>();
            if (now) keyField->setText(qs(Inputs::keyFieldText(now->combo)));
        });
        keyRow->addWidget(captionLabel(tr("Key"), input));
        keyRow->addWidget(keyField, 1);
        column->addLayout(keyRow);
        auto* hint = captionLabel(tr("If an F-key changes brightness or volume instead of being recorded, "
                                     "hold Fn while you press it."),
                                  input);
        column->addWidget(hint);

        updateActionInput_ = [this, display, record, toggles, keyField](const MacroAction& current) {
            const auto* keystroke = current.as<MacroAction::Keystroke>();
            if (!keystroke) return;
            const KeyCombo& combo = keystroke->combo;
            display->setText(qs(KeyComboText::displayString(combo)));
            const bool recording = form_.recorder().isRecording();
            record->setText(recording ? tr("Press a key…") : tr("Record"));
            const QColor red(255, 59, 48);
            record->setIcon(
                QIcon(SymbolFont::pixmap(recording ? "record.circle.fill" : "record.circle", 16,
                                         recording ? red : palette().color(QPalette::ButtonText))));
            record->setStyleSheet(recording ? QStringLiteral("color: rgb(255, 59, 48);") : QString());
            for (const auto& [modifier, toggle] : toggles)
                toggle->setChecked(Inputs::modifierIsOn(combo, modifier));
            const QString keyText = qs(Inputs::keyFieldText(combo));
            if (keyField->text() != keyText) keyField->setText(keyText);
            keyField->setEnabled(Inputs::keyFieldEditable(combo));
        };
        break;
    }
    case ActionKind::openSettings: {
        auto* menu = new QPushButton(input);
        menu->setObjectName(QStringLiteral("pageMenu"));
        column->addWidget(menu, 0, Qt::AlignLeft);
        updateActionInput_ = [this, menu](const MacroAction& current) {
            const auto* page = current.as<MacroAction::OpenSettings>();
            if (!page) return;
            menu->setText(shown(Inputs::pageLabel(page->target)));
            setMenu(menu, Inputs::pageMenu(page->target),
                    [this](const std::string& id) { form_.setAction(MacroAction::OpenSettings{id}); });
        };
        break;
    }
    }
    return input;
}

} // namespace rondelix
