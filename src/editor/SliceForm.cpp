#include "editor/SliceForm.h"

#include "actions/ShortcutsRunner.h"
#include "editor/SliceEdits.h"
#include "editor/WheelListEdits.h"
#include "engine/HotkeyManager.h"
#include "icons/IconStore.h"
#include "platform/Background.h"
#include "platform/Dialogs.h"
#include "platform/MainQueue.h"
#include "platform/Sounds.h"
#include "platform/Workspace.h"
#include "store/ConfigStore.h"

#include <algorithm>
#include <system_error>

namespace rondelix {

namespace {

// The picture formats an image icon may come from.
const std::vector<std::string> pictureExtensions{"png", "jpg", "jpeg", "gif", "bmp", "webp", "tif", "tiff"};

} // namespace

SliceForm::SliceForm(SliceFormServices services, SliceSlot slot)
    : services_(std::move(services)), slot_(std::move(slot)), blankId_(Uuid::generate()),
      recorder_(std::make_shared<KeystrokeRecorder>()) {
    recorder_->onUnmappableKey = [&sounds = services_.sounds] { sounds.beep(); };
}

SliceForm::~SliceForm() {
    // A capture never outlives the slice it was started for.
    recorder_->stop();
}

Slice SliceForm::slice() const {
    Slice shown = slot_.read(services_.store);
    const Wheel* wheel = findWheel(services_.store.config().wheels, slot_.wheelId);
    // The blank of an empty slot keeps one id, so the form does not take each
    // refresh for another slice.
    if (!wheel || !sliceAt(*wheel, slot_.position)) shown.id = blankId_;
    return shown;
}

void SliceForm::write(const std::function<void(Slice&)>& change) {
    if (beforeWrite) beforeWrite();
    Slice changed = slice();
    change(changed);
    slot_.write(services_.store, changed);
}

void SliceForm::setLabel(const std::string& label) {
    write([&](Slice& s) { s.label = label; });
}

void SliceForm::setIcon(const Icon& icon) {
    write([&](Slice& s) { s.icon = icon; });
}

void SliceForm::setIconKind(SliceFormKinds::IconKind kind) {
    setIcon(SliceFormKinds::startingIcon(kind));
}

void SliceForm::setAction(const MacroAction& action) {
    write([&](Slice& s) { s.action = action; });
}

void SliceForm::setActionKind(SliceFormKinds::ActionKind kind) {
    setAction(SliceFormKinds::defaultAction(kind));
}

void SliceForm::chooseImage() {
    const auto picture = services_.dialogs.chooseFileToOpen(platform::OpenPanel{pictureExtensions});
    if (!picture) return;
    const auto stored = IconStore::importImage(IconStore::directoryIn(services_.configFolder), *picture,
                                               services_.images, services_.log);
    if (!stored) {
        services_.sounds.beep();
        return;
    }
    setIcon(Icon::CustomImage{*stored});
}

void SliceForm::pressRecord() {
    recorder_->onCapture = [this](const KeyCombo& combo) { setAction(MacroAction::Keystroke{combo}); };
    KeystrokeCaptureHost& host = services_.capture;
    if (!recorder_->isRecording()) {
        host.engine.callbacks.recordingLiveness = [recorder = std::weak_ptr(recorder_),
                                                   onScreen = host.mainWindowOnScreen] {
            const auto alive = recorder.lock();
            return alive && alive->isRecording() && onScreen && onScreen();
        };
        host.engine.callbacks.cancelStuckRecorder = [recorder = std::weak_ptr(recorder_)] {
            if (const auto alive = recorder.lock()) alive->stop();
        };
    }
    recorder_->onActiveChange = [&host](bool active) {
        host.engine.setRecording(active);
        if (host.setCapturing) host.setCapturing(active);
    };
    if (recorder_->isRecording())
        recorder_->stop();
    else
        recorder_->start();
}

void SliceForm::loadAutomations() {
    const std::string folder = ShortcutsRunner::standardFolder(services_.configFolder).string();
    services_.background.run([folder, alive = lifetime_.watch(), this, &queue = services_.queue] {
        auto names = ShortcutsRunner::list(folder);
        queue.post([alive, this, names = std::move(names)]() mutable {
            if (!alive) return;
            if (names == automations_) return;
            automations_ = std::move(names);
            automationsChanged.emit();
        });
    });
}

void SliceForm::applicationBecameActive() {
    if (services_.showsWheelsPage && services_.showsWheelsPage()) loadAutomations();
}

void SliceForm::openAutomationsFolder() {
    const auto folder = ShortcutsRunner::standardFolder(services_.configFolder);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    services_.workspace.openLink("file://" + folder.string(), [](bool) {});
}

void SliceForm::showAutomationSetup() {
    if (services_.showAutomationSetup) services_.showAutomationSetup();
}

void SliceForm::openLink(const std::string& address) {
    services_.workspace.openLink(address, [](bool) {});
}

} // namespace rondelix
