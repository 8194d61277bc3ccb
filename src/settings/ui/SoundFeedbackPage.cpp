#include "settings/ui/SoundFeedbackPage.h"

#include "overlay/SystemSounds.h"
#include "platform/Sounds.h"
#include "qtshared/ProblemCaption.h"
#include "qtshared/ScrollNeedsFocus.h"
#include "settings/ui/SettingsText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

namespace rondelix {

SoundFeedbackPage::SoundFeedbackPage(ConfigStore& store, FeedbackController& feedback,
                                     platform::Sounds& sounds, QWidget* parent)
    : SettingsPage(store, parent), settings_(store, feedback, SystemSounds::all(sounds)), sounds_(sounds) {
    setObjectName("soundFeedbackPage");
    QVBoxLayout* sound = addSection("Sound");
    noDevice_ = new ProblemCaption("noSoundDevice", sound->parentWidget());
    sound->addWidget(noDevice_);
    showDevice();
    addRows(sound, {SoundSettings::soundEffectsRow(), SoundSettings::volumeRow()});
    addSoundPicker(sound, {"Aim sound", "scope", "Plays as you move between slices."},
                   SoundSettings::Sound::aim);
    addSoundPicker(sound, {"Fire sound", "bolt.fill", "Plays when you fire a slice."},
                   SoundSettings::Sound::fire);

    QVBoxLayout* haptics = addSection("Haptics");
    addRows(haptics, {SoundSettings::hapticsRow()});
    // The stored choice stays for a machine that has them.
    for (QCheckBox* toggle : haptics->parentWidget()->findChildren<QCheckBox*>()) {
        toggle->setEnabled(false);
        toggle->parentWidget()->setToolTip("This computer has no haptic feedback.");
    }
}

void SoundFeedbackPage::showDevice() {
    noDevice_->say(sounds_.deviceFound()
                       ? std::nullopt
                       : std::optional<std::string>("No sound device was found, so Rondelix "
                                                    "plays no sounds."));
}

void SoundFeedbackPage::addSoundPicker(QVBoxLayout* section, const SettingText& text,
                                       SoundSettings::Sound sound) {
    auto* picker = new QComboBox;
    ScrollNeedsFocus::apply(*picker);
    for (const std::string& name : settings_.soundNames())
        picker->addItem(QString::fromStdString(name));
    auto* play = new QToolButton;
    play->setAccessibleName(QString::fromStdString(text.title) + " preview");
    play->setAutoRaise(true);
    SettingsText::setSymbol(*play, "play.circle");
    play->setToolTip("Preview");
    QWidget* row = addLabeledRow(section, text, picker, play);

    connect(picker, &QComboBox::activated, this,
            [this, sound](int index) { settings_.choose(sound, index); });
    // A device can turn out missing only when a sound is played.
    connect(play, &QToolButton::clicked, this, [this, sound] {
        settings_.preview(sound);
        showDevice();
    });
    onRefresh([this, picker, row, sound] {
        showRow(*row, behaviorSettings_.behavior().soundEnabled);
        const QSignalBlocker quiet(picker);
        picker->setCurrentIndex(settings_.selection(sound).value_or(-1));
    });
}

} // namespace rondelix
