#include "settings/ui/BindingRow.h"

#include "qtshared/ElidingLabel.h"
#include "qtshared/ProminentButton.h"
#include "qtshared/QtColor.h"
#include "qtshared/QtText.h"
#include "qtshared/ScrollNeedsFocus.h"
#include "settings/ui/AccentSlider.h"
#include "settings/ui/PointingHandOnHover.h"
#include "settings/ui/RowReveal.h"
#include "settings/ui/SettingsText.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace rondelix {

namespace {

constexpr auto lastBindingToggleTip =
    "The last active binding stays on so the wheel can always be summoned. Enable "
    "another binding first.";
constexpr auto lastBindingRemoveTip =
    "The last active binding can't be removed. Enable another binding first.";
constexpr auto collisionExplanation =
    "Pressing this combo still reaches the app you're in. Rondelix can't block that while idle (a safety "
    "design: "
    "the always-on listener is incapable of swallowing input). If the frontmost app uses the same shortcut "
    "(like "
    "Ctrl+R to reload), both will happen. Prefer combos your apps don't use.";
constexpr auto recordingHint =
    "Hold the combo you want: modifier keys (Ctrl, Alt, Super, Shift), any function key "
    "(F1–F20), a spare mouse button (middle, Mouse 4/5), or a modifier + any key (e.g. "
    "Super+R).";

constexpr int recordingPanelWidth = 360 + 2 * 16;

// The collision hint: secondary until hovered, orange while hovered.
class CollisionHint : public QToolButton {
  public:
    explicit CollisionHint(QWidget* parent) : QToolButton(parent) {
        setAutoRaise(true);
        setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        setText("May collide with other apps");
        setFont(SettingsText::scaled(font(), 0.85));
        secondary_ = SettingsText::secondary(*this);
        tint(secondary_);
        new PointingHandOnHover(this);
    }

  protected:
    void enterEvent(QEnterEvent* event) override {
        tint(SettingsText::warning(*this));
        QToolButton::enterEvent(event);
    }
    void leaveEvent(QEvent* event) override {
        tint(secondary_);
        QToolButton::leaveEvent(event);
    }

  private:
    void tint(const QColor& colour) {
        SettingsText::setColour(*this, colour);
        SettingsText::setSymbol(*this, "exclamationmark.triangle");
    }

    QColor secondary_;
};

} // namespace

BindingRow::BindingRow(Uuid id, BindingRowModel::Services services, QWidget* parent)
    : QWidget(parent), model_(id, std::move(services)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->setSpacing(6);
    layout->addWidget(makeMainLine());
    unholdable_ = new QLabel(this);
    unholdable_->setObjectName("unholdableWarning");
    unholdable_->setWordWrap(true);
    SettingsText::setColour(*unholdable_, SettingsText::warning(*unholdable_));
    layout->addWidget(unholdable_);
    recordingPanel_ = makeRecordingPanel();
    collisionPopover_ = makeCollisionPopover();
    layout->addWidget(makeHoldDelayLine());
    recorderConnection_ = model_.recorder().changed.connectScoped([this] { refresh(); });
    refresh();
}

BindingRow::~BindingRow() = default;

QWidget* BindingRow::makeMainLine() {
    auto* line = new QWidget(this);
    auto* layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);

    enabled_ = new QCheckBox(line);
    connect(enabled_, &QCheckBox::toggled, this, [this](bool on) {
        // Switching the binding carries its hold-delay line in and out.
        switching_ = true;
        model_.setEnabled(on);
        switching_ = false;
    });
    // Never wrapped: a combination too long for the row is cut in its middle.
    combo_ = new ElidingLabel(Qt::ElideMiddle, line);
    combo_->setObjectName("comboLabel");
    combo_->setFont(SettingsText::scaled(combo_->font(), 1.0, QFont::Medium));
    record_ = new QPushButton(line);
    record_->setObjectName("record");
    connect(record_, &QPushButton::clicked, this, [this] { model_.toggleRecording(); });
    collisionHint_ = new CollisionHint(line);
    collisionHint_->setObjectName("collisionHint");
    connect(collisionHint_, &QToolButton::clicked, this, [this] {
        if (collisionPopover_->isVisible()) return collisionPopover_->hide();
        collisionPopover_->adjustSize();
        const QPoint below =
            collisionHint_->mapToGlobal(QPoint(collisionHint_->width() / 2, collisionHint_->height()));
        collisionPopover_->move(below.x() - collisionPopover_->width() / 2, below.y() + 4);
        collisionPopover_->show();
    });
    remove_ = new QToolButton(line);
    remove_->setObjectName("remove");
    remove_->setAutoRaise(true);
    SettingsText::setColour(*remove_, SettingsText::destructive(*remove_));
    SettingsText::setSymbol(*remove_, "minus.circle");
    connect(remove_, &QToolButton::clicked, this, [this] { model_.remove(); });

    layout->addWidget(enabled_);
    layout->addWidget(combo_);
    layout->addWidget(record_);
    layout->addWidget(collisionHint_);
    layout->addStretch(1);
    layout->addWidget(remove_);
    return line;
}

QWidget* BindingRow::makeHoldDelayLine() {
    holdDelay_ = new QWidget(this);
    auto* layout = new QHBoxLayout(holdDelay_);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel("Hold delay", holdDelay_);
    title->setFixedWidth(130);
    holdDelaySlider_ = new AccentSlider(holdDelay_);
    ScrollNeedsFocus::apply(*holdDelaySlider_);
    holdDelaySlider_->setAccessibleName("Hold delay");
    title->setBuddy(holdDelaySlider_);
    holdDelaySlider_->setRange(0, BindingRowModel::holdDelayScale.lastStep());
    holdDelaySlider_->setPageStep(1);
    connect(holdDelaySlider_, &QSlider::valueChanged, this,
            [this](int step) { model_.setHoldDelay(BindingRowModel::holdDelayScale.valueAt(step)); });
    holdDelayText_ = new QLabel(holdDelay_);
    holdDelayText_->setObjectName("holdDelayText");
    holdDelayText_->setFixedWidth(60);
    holdDelayText_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel* label : {title, holdDelayText_}) {
        label->setFont(SettingsText::scaled(label->font(), 0.85));
        SettingsText::setColour(*label, SettingsText::secondary(*label));
    }
    layout->addWidget(title);
    layout->addWidget(holdDelaySlider_, 1);
    layout->addWidget(holdDelayText_);
    holdDelayReveal_ = new RowReveal(*holdDelay_);
    return holdDelay_;
}

QFrame* BindingRow::makeRecordingPanel() {
    // A window of its own under the Record button. Clicking outside does not
    // close it, and it leaves the main window active so keys keep arriving.
    auto* panel = new QFrame(this, Qt::Tool | Qt::FramelessWindowHint);
    panel->setObjectName("recordingPanel");
    panel->setWindowTitle("Recording Summon Key");
    panel->setAttribute(Qt::WA_ShowWithoutActivating);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setMinimumWidth(recordingPanelWidth);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);

    auto* heading = new QLabel("Recording Summon Key", panel);
    heading->setFont(SettingsText::scaled(heading->font(), 0.85, QFont::DemiBold));
    SettingsText::setColour(*heading, SettingsText::secondary(*heading));
    captured_ = new ElidingLabel(Qt::ElideMiddle, panel);
    captured_->setObjectName("capturedCombo");
    captured_->setAlignment(Qt::AlignCenter);
    captured_->setMinimumHeight(30 + 28);
    captured_->setFont(SettingsText::scaled(captured_->font(), 1.6, QFont::DemiBold));
    captured_->setStyleSheet(
        "QLabel { background: palette(midlight); border-radius: 10px; padding: 14px 16px; }");
    auto* hint = new QLabel(recordingHint, panel);
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignCenter);
    hint->setFixedWidth(360);
    hint->setMinimumHeight(hint->heightForWidth(360));
    hint->setFont(SettingsText::scaled(hint->font(), 0.8));
    SettingsText::setColour(*hint, SettingsText::secondary(*hint));
    capturedWarning_ = new QLabel("⚠ This combo may collide with other apps' shortcuts", panel);
    capturedWarning_->setObjectName("capturedWarning");
    capturedWarning_->setFont(SettingsText::scaled(capturedWarning_->font(), 0.8));
    SettingsText::setColour(*capturedWarning_, SettingsText::warning(*capturedWarning_));

    auto* cancel = new QPushButton("Cancel", panel);
    cancel->setObjectName("cancel");
    connect(cancel, &QPushButton::clicked, this, [this] { model_.recorder().stop(); });
    confirm_ = new QPushButton("Confirm", panel);
    confirm_->setObjectName("confirm");
    confirm_->setDefault(true);
    connect(confirm_, &QPushButton::clicked, this, [this] { model_.recorder().confirm(); });
    for (QPushButton* button : {cancel, confirm_})
        button->setFixedWidth(90);
    showAccent();
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(confirm_);
    buttons->addStretch(1);

    layout->addWidget(heading, 0, Qt::AlignHCenter);
    layout->addWidget(captured_);
    layout->addWidget(hint, 0, Qt::AlignHCenter);
    layout->addWidget(capturedWarning_, 0, Qt::AlignHCenter);
    layout->addLayout(buttons);
    return panel;
}

QFrame* BindingRow::makeCollisionPopover() {
    auto* popover = new QFrame(this, Qt::Popup);
    popover->setObjectName("collisionPopover");
    popover->setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(popover);
    layout->setContentsMargins(14, 14, 14, 14);
    auto* text = new QLabel(collisionExplanation, popover);
    text->setWordWrap(true);
    text->setFixedWidth(320 - 28);
    layout->addWidget(text);
    return popover;
}

void BindingRow::refresh() {
    const auto binding = model_.binding();
    if (!binding) return; // the page drops the row
    const bool recording = model_.recorder().isRecording();
    const bool last = model_.isLastWorkingBinding();
    const QString label = toQString(model_.comboLabel());

    {
        const QSignalBlocker quiet(enabled_);
        enabled_->setChecked(binding->enabled);
    }
    enabled_->setAccessibleName("Summon binding " + label);
    enabled_->setEnabled(!last);
    enabled_->setToolTip(last ? lastBindingToggleTip : "");
    combo_->setText(label);
    SettingsText::setColour(*combo_, recording
                                         ? readableText(fromQColor(palette().color(QPalette::Highlight)),
                                                        palette().color(QPalette::Window))
                                         : palette().color(QPalette::WindowText));
    record_->setText(recording ? "Recording…" : "Record");
    // While it records, the row's label says so too, and the button's own text is its name.
    record_->setAccessibleName(recording ? QString() : "Record summon binding " + label);
    const auto unholdable = model_.unholdableWarning();
    unholdable_->setText(unholdable ? toQString(*unholdable) : QString());
    unholdable_->setVisible(unholdable.has_value());
    collisionHint_->setVisible(model_.showsCollisionHint());
    if (!collisionHint_->isVisible()) collisionPopover_->hide();
    remove_->setVisible(model_.showsRemove());
    remove_->setAccessibleName("Remove summon binding " + label);
    remove_->setEnabled(!last);
    remove_->setToolTip(last ? lastBindingRemoveTip : "");

    holdDelayReveal_->setShown(model_.showsHoldDelay(), switching_);
    {
        const QSignalBlocker quiet(holdDelaySlider_);
        holdDelaySlider_->setValue(BindingRowModel::holdDelayScale.stepNear(binding->holdThresholdMs));
    }
    holdDelayText_->setText(toQString(model_.holdDelayText()));

    const bool nothingYet = model_.recorder().captured().empty();
    captured_->setText(toQString(model_.capturedLabel()));
    SettingsText::setColour(*captured_,
                            palette().color(nothingYet ? QPalette::PlaceholderText : QPalette::WindowText));
    capturedWarning_->setVisible(model_.capturedMayCollide());
    confirm_->setEnabled(!nothingYet);
    if (recording) placeRecordingPanel();
    recordingPanel_->setVisible(recording);
}

// The recording panel's Confirm is its prominent button, filled in the accent.
void BindingRow::showAccent() {
    makeProminent(*confirm_, fromQColor(palette().color(QPalette::Active, QPalette::Highlight)));
}

void BindingRow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A new accent, once the row is built whole: Confirm and the combination
    // being recorded follow it.
    if (event->type() != QEvent::PaletteChange || !holdDelayReveal_) return;
    showAccent();
    refresh();
}

// Under the Record button, growing with the combination but never past the
// window's sides: a combination too long for that is cut in its middle.
void BindingRow::placeRecordingPanel() {
    const QRect inWindow = window()->geometry();
    recordingPanel_->setMaximumWidth(std::max(recordingPanel_->minimumWidth(), inWindow.width()));
    recordingPanel_->adjustSize();
    const QPoint below = record_->mapToGlobal(QPoint(record_->width() / 2, record_->height()));
    const int left = std::clamp(below.x() - recordingPanel_->width() / 2, inWindow.left(),
                                std::max(inWindow.left(), inWindow.right() + 1 - recordingPanel_->width()));
    recordingPanel_->move(left, below.y() + 4);
}

void BindingRow::hideEvent(QHideEvent* event) {
    // The panel goes with the window: a row that disappears stops its recording.
    model_.recorder().stop();
    QWidget::hideEvent(event);
}

} // namespace rondelix
