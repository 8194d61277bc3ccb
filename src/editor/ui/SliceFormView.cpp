#include "editor/ui/SliceFormView.h"

#include "actions/InstalledAutomations.h"
#include "editor/ui/ActionInputs.h"
#include "editor/ui/GrowingTextField.h"
#include "editor/ui/IconInputs.h"
#include "editor/ui/KeystrokeRecorderFilter.h"
#include "editor/ui/SliceFormWidgets.h"
#include "icons/ui/SymbolFont.h"
#include "model/SystemColors.h"
#include "qtshared/QtColor.h"
#include "qtshared/QtText.h"
#include "qtshared/ScrollNeedsFocus.h"
#include "store/ConfigStore.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace rondelix {

namespace {

using namespace SliceFormKinds;
using SliceFormWidgets::captionLabel;

// A row's label; it names the row's field for screen readers, which finds
// it beside the field: the form holds both.
QLabel* rowLabel(const QString& text, int topPadding, QWidget& field, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(&field);
    label->setContentsMargins(0, topPadding, 0, 0);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    QFont font = label->font();
    font.setWeight(QFont::DemiBold);
    label->setFont(font);
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
    auto* labelFrameLayout = new QVBoxLayout(labelFrame);
    labelFrameLayout->setContentsMargins(3, 2, 3, 2);
    label_ = new GrowingTextField(
        [this](const QString& text) {
            writeText(text.size(), [this, label = text.toStdString()] { form_.setLabel(label); });
        },
        labelFrame);
    labelFrameLayout->addWidget(label_);
    SliceFormWidgets::framedField(*labelFrame, *label_);
    // Inside its frame, the field is not beside its row label.
    label_->setAccessibleName(tr("Label"));
    grid->addWidget(rowLabel(tr("Label"), 4, *label_, this), 0, 0, Qt::AlignTop);
    grid->addWidget(labelFrame, 0, 1);

    // Icon: the columns are layouts, so their controls are the form's own,
    // beside the row labels.
    iconColumn_ = new QVBoxLayout;
    iconColumn_->setSpacing(8);
    iconKind_ = new QComboBox(this);
    iconKind_->setObjectName(QStringLiteral("iconKind"));
    ScrollNeedsFocus::apply(*iconKind_);
    for (const IconKind kind : allIconKinds)
        iconKind_->addItem(toQString(title(kind)));
    iconKind_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    iconKind_->setToolTip(
        tr("Auto picks an icon to match the action (an app's icon, a website's favicon, or none)."));
    connect(iconKind_, &QComboBox::activated, this,
            [this](int index) { form_.setIconKind(allIconKinds[static_cast<std::size_t>(index)]); });
    iconColumn_->addWidget(iconKind_, 0, Qt::AlignLeft);
    grid->addWidget(rowLabel(tr("Icon"), 5, *iconKind_, this), 1, 0, Qt::AlignTop);
    grid->addLayout(iconColumn_, 1, 1);

    // Action
    actionColumn_ = new QVBoxLayout;
    actionColumn_->setSpacing(8);
    actionKind_ = new QComboBox(this);
    actionKind_->setObjectName(QStringLiteral("actionKind"));
    ScrollNeedsFocus::apply(*actionKind_);
    for (const ActionKind kind : allActionKinds)
        actionKind_->addItem(toQString(title(kind)));
    actionKind_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(actionKind_, &QComboBox::activated, this,
            [this](int index) { form_.setActionKind(allActionKinds[static_cast<std::size_t>(index)]); });
    caption_ = captionLabel({}, this);
    caption_->setObjectName(QStringLiteral("actionCaption"));
    warning_ = new QWidget(this);
    warning_->setObjectName(QStringLiteral("unconfiguredWarning"));
    auto* warningLayout = new QHBoxLayout(warning_);
    warningLayout->setContentsMargins(0, 0, 0, 0);
    warningLayout->setSpacing(4);
    const QColor orange = toQColor(SystemColors::orange);
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
    grid->addWidget(rowLabel(tr("Action"), 5, *actionKind_, this), 2, 0, Qt::AlignTop);
    grid->addLayout(actionColumn_, 2, 1);
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
    label_->setText(toQString(slice.label));
    iconKind_->setCurrentIndex(static_cast<int>(kindOf(slice.icon)));
    refreshIconInput(slice);
    // A kind only a newer version knows selects no menu item.
    const auto actionKind = kindOf(slice.action);
    const auto listed = std::find(allActionKinds.begin(), allActionKinds.end(), actionKind);
    actionKind_->setCurrentIndex(
        listed == allActionKinds.end() ? -1 : static_cast<int>(listed - allActionKinds.begin()));
    caption_->setText(actionKind ? toQString(caption(*actionKind)) : QString());
    refreshActionInput(slice);
    const auto warning = unconfiguredWarning(slice.action);
    warning_->setVisible(warning.has_value());
    if (warning) warningText_->setText(toQString(*warning));
}

void SliceFormView::refreshIconInput(const Slice& slice) {
    const IconKind kind = kindOf(slice.icon);
    if (iconInputKind_ != kind) {
        retire(iconInput_);
        iconInput_ = makeIconInput(kind, form_, this);
        iconInputKind_ = kind;
        if (iconInput_) {
            iconColumn_->addWidget(iconInput_);
            iconInput_->show();
            chainAfter(iconKind_, iconInput_);
        }
    }
    if (iconInput_) iconInput_->showIcon(slice.icon);
}

void SliceFormView::refreshActionInput(const Slice& slice) {
    const auto kind = kindOf(slice.action);
    if (actionInputKind_ != kind) {
        retire(actionInput_);
        actionInput_ = kind ? makeActionInput(*kind, actionInputContext(), this) : nullptr;
        actionInputKind_ = kind;
        if (actionInput_) {
            actionColumn_->insertWidget(actionColumn_->indexOf(warning_), actionInput_);
            actionInput_->show();
            chainAfter(actionKind_, actionInput_);
        }
    }
    if (actionInput_) actionInput_->showAction(slice.action);
}

ActionInputContext SliceFormView::actionInputContext() {
    return {form_,
            [this](qsizetype length, std::function<void()> write) { writeText(length, std::move(write)); },
            chooseApp_};
}

} // namespace rondelix
