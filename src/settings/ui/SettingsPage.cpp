#include "settings/ui/SettingsPage.h"

#include "qtshared/ScrollNeedsFocus.h"
#include "qtshared/SeeThroughScrollArea.h"
#include "settings/ui/LabeledSlider.h"
#include "settings/ui/RowReveal.h"
#include "settings/ui/SettingLabel.h"
#include "settings/ui/SettingsText.h"
#include "store/ConfigStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace rondelix {

namespace {

constexpr int maximumFormWidth = 760;

} // namespace

SettingsPage::SettingsPage(ConfigStore& store, QWidget* parent)
    : QScrollArea(parent), store_(store), behaviorSettings_(store) {
    setFrameShape(QFrame::NoFrame);
    // Tab moves between the rows' controls, not onto the page itself.
    setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(true);
    auto* canvas = new QWidget;
    auto* form = new QWidget(canvas);
    form->setMaximumWidth(maximumFormWidth);
    sections_ = new QVBoxLayout(form);
    sections_->setSpacing(18);
    auto* centring = new QHBoxLayout;
    centring->addStretch(0);
    centring->addWidget(form, 1);
    centring->addStretch(0);
    auto* outer = new QVBoxLayout(canvas);
    outer->setContentsMargins(24, 16, 24, 24);
    outer->addLayout(centring);
    outer->addStretch(1);
    setWidget(canvas);
    // The window's backdrop shows behind the grouped rows.
    makeSeeThrough(*this);
    connection_ = store_.configChanged.connectScoped([this] { refreshAll(); });
}

SettingsPage::~SettingsPage() = default;

QVBoxLayout* SettingsPage::addSection(const std::string& header, const std::optional<std::string>& footer) {
    auto* group = new QGroupBox(QString::fromStdString(header), widget());
    group->setObjectName(QString::fromStdString(header));
    auto* rows = new QVBoxLayout(group);
    rows->setSpacing(12);
    sections_->addWidget(group);
    if (footer) sections_->addWidget(SettingsText::caption(QString::fromStdString(*footer), widget()));
    return rows;
}

QWidget* SettingsPage::addLabeledRow(QVBoxLayout* section, const SettingText& text, QWidget* control,
                                     QWidget* beside) {
    auto* row = new QWidget(section->parentWidget());
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new SettingLabel(text);
    layout->addLayout(label, 1);
    control->setParent(row);
    control->setAccessibleName(QString::fromStdString(text.title));
    label->names(*control);
    layout->addWidget(control, 0, Qt::AlignVCenter);
    if (beside) {
        beside->setParent(row);
        layout->addWidget(beside, 0, Qt::AlignVCenter);
    }
    section->addWidget(row);
    return row;
}

void SettingsPage::addRows(QVBoxLayout* section, const std::vector<SettingRow>& rows) {
    for (const SettingRow& row : rows) {
        QWidget* widget = makeRow(row);
        section->addWidget(widget);
        if (row.shownWhen)
            onRefresh([this, widget, row] { showRow(*widget, behaviorSettings_.isShown(row)); });
    }
}

void SettingsPage::addSections(const std::vector<SettingSection>& sections) {
    for (const SettingSection& section : sections)
        addRows(addSection(section.header, section.footer), section.rows);
}

QWidget* SettingsPage::makeRow(const SettingRow& row) {
    auto* holder = new QWidget(widget());
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* section = layout;
    switch (row.control) {
    case SettingRow::Control::toggle: {
        auto* toggle = new QCheckBox;
        addLabeledRow(section, row.text, toggle);
        connect(toggle, &QCheckBox::toggled, this,
                [this, row](bool on) { ownChange([&] { behaviorSettings_.setOn(row, on); }); });
        onRefresh([this, toggle, row] {
            const QSignalBlocker quiet(toggle);
            toggle->setChecked(behaviorSettings_.isOn(row));
        });
        break;
    }
    case SettingRow::Control::slider: {
        auto* slider = new LabeledSlider(row.text, row.scale, holder);
        layout->addWidget(slider);
        slider->onStep = [this, row](int step) { behaviorSettings_.setSliderStep(row, step); };
        onRefresh([this, slider, row] {
            slider->display(behaviorSettings_.sliderStep(row), behaviorSettings_.valueText(row));
        });
        break;
    }
    case SettingRow::Control::choice: {
        auto* picker = new QComboBox;
        ScrollNeedsFocus::apply(*picker);
        for (const std::string& option : row.options)
            picker->addItem(QString::fromStdString(option));
        addLabeledRow(section, row.text, picker);
        connect(picker, &QComboBox::activated, this,
                [this, row](int index) { ownChange([&] { behaviorSettings_.choose(row, index); }); });
        onRefresh([this, picker, row] {
            const QSignalBlocker quiet(picker);
            picker->setCurrentIndex(behaviorSettings_.chosen(row));
        });
        break;
    }
    }
    return holder;
}

void SettingsPage::onRefresh(std::function<void()> refresh) {
    refresh();
    refreshers_.push_back(std::move(refresh));
}

void SettingsPage::showRow(QWidget& row, bool shown) {
    auto* reveal = row.findChild<RowReveal*>(QString(), Qt::FindDirectChildrenOnly);
    if (!reveal) reveal = new RowReveal(row);
    reveal->setShown(shown, ownChange_);
}

void SettingsPage::ownChange(const std::function<void()>& change) {
    ownChange_ = true;
    change();
    ownChange_ = false;
}

void SettingsPage::refreshAll() {
    for (const auto& refresh : refreshers_)
        refresh();
}

} // namespace rondelix
