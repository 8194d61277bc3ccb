#include "editor/SliceForm.h"

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
    : services_(std::move(services)), slot_(std::move(slot)), blankId_(Uuid::generate()) {
    recorder_.onUnmappableKey = [&sounds = services_.sounds] { sounds.beep(); };
}

SliceForm::~SliceForm() {
    // A capture never outlives the slice it was started for.
    recorder_.stop();
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

void SliceForm::chooseImage(std::function<void(std::optional<std::string> problem)> done) {
    const auto picture = services_.dialogs.chooseFileToOpen(platform::OpenPanel{pictureExtensions});
    if (!picture) return done(std::nullopt);
    // A large picture takes a while to read and shrink; the window answers meanwhile.
    services_.background.run([this, alive = lifetime_.watch(), &queue = services_.queue,
                              &images = services_.images, &log = services_.log,
                              folder = IconStore::directoryIn(services_.configFolder), picture = *picture,
                              done = std::move(done)]() mutable {
        auto stored = IconStore::importImage(folder, picture, images, log);
        queue.post([this, alive, stored = std::move(stored), done = std::move(done)] {
            if (!alive) return;
            if (!stored) {
                services_.sounds.beep();
                return done("That picture couldn't be used: it may be damaged, too large, or not a picture.");
            }
            setIcon(Icon::CustomImage{*stored});
            done(std::nullopt);
        });
    });
}

void SliceForm::pressRecord() {
    recorder_.onCapture = [this](const KeyCombo& combo) { setAction(MacroAction::Keystroke{combo}); };
    KeystrokeCaptureHost& host = services_.capture;
    if (!recorder_.isRecording()) {
        host.engine.callbacks.recordingLiveness = [this, alive = lifetime_.watch(),
                                                   onScreen = host.mainWindowOnScreen] {
            return alive && recorder_.isRecording() && onScreen && onScreen();
        };
        host.engine.callbacks.cancelStuckRecorder = [this, alive = lifetime_.watch()] {
            if (alive) recorder_.stop();
        };
    }
    recorder_.onActiveChange = [&host](bool active) {
        host.engine.setRecording(active);
        if (host.setCapturing) host.setCapturing(active);
    };
    if (recorder_.isRecording())
        recorder_.stop();
    else
        recorder_.start();
}

void SliceForm::showAutomationSetup() {
    if (services_.showAutomationSetup) services_.showAutomationSetup();
}

void SliceForm::openLink(const std::string& address) {
    services_.workspace.openLink(address, [](bool) {});
}

} // namespace rondelix
