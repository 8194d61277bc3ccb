#include "settings/ui/LabeledSlider.h"

#include "qtshared/ScrollNeedsFocus.h"
#include "settings/ui/AccentSlider.h"
#include "settings/ui/SettingLabel.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

namespace rondelix {

LabeledSlider::LabeledSlider(const SettingText& text, SliderScale scale, QWidget* parent) : QWidget(parent) {
    slider_ = new AccentSlider(this);
    ScrollNeedsFocus::apply(*slider_);
    slider_->setAccessibleName(QString::fromStdString(text.title));
    slider_->setRange(0, scale.lastStep());
    slider_->setPageStep(1);
    slider_->setMinimumWidth(160);
    valueText_ = new QLabel(this);
    valueText_->setObjectName("valueText");
    // Fixed-width digits in a fixed-width box: the values of all rows line up
    // and the slider does not jump while they change.
    valueText_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    valueText_->setFixedWidth(64);
    valueText_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* content = new QHBoxLayout;
    content->setSpacing(10);
    content->addWidget(slider_, 1);
    content->addWidget(valueText_);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto* label = new SettingLabel(text);
    label->names(*slider_);
    row->addLayout(label, 1);
    row->addLayout(content, 1);

    connect(slider_, &QSlider::valueChanged, this, [this](int step) {
        if (onStep) onStep(step);
    });
    connect(slider_, &QSlider::sliderPressed, this, [this] {
        if (onEditingChanged) onEditingChanged(true);
    });
    connect(slider_, &QSlider::sliderReleased, this, [this] {
        if (onEditingChanged) onEditingChanged(false);
    });
}

void LabeledSlider::display(int step, const std::string& valueText) {
    const QSignalBlocker quiet(slider_);
    slider_->setValue(step);
    valueText_->setText(QString::fromStdString(valueText));
}

} // namespace rondelix
