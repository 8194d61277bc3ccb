#include "settings/BindingRowModel.h"

#include "engine/HotkeyManager.h"
#include "model/SummonKey.h"
#include "settings/SummonBindings.h"
#include "settings/ValueText.h"
#include "store/ConfigStore.h"

#include <algorithm>
#include <utility>

namespace rondelix {

namespace {

SummonBinding* find(Config& config, const Uuid& id) {
    const auto it = std::ranges::find(config.bindings, id, &SummonBinding::id);
    return it == config.bindings.end() ? nullptr : &*it;
}

} // namespace

BindingRowModel::BindingRowModel(Uuid id, Services services)
    : id_(id), services_(std::move(services)),
      recorder_(std::make_shared<SummonComboRecorder>(services_.installKeyMonitor)) {}

BindingRowModel::~BindingRowModel() {
    recorder_->stop();
}

std::optional<SummonBinding> BindingRowModel::binding() const {
    const auto& bindings = services_.store.config().bindings;
    const auto it = std::ranges::find(bindings, id_, &SummonBinding::id);
    if (it == bindings.end()) return std::nullopt;
    return *it;
}

std::string BindingRowModel::comboLabel() const {
    if (recorder_->isRecording()) return "Recording…";
    const auto b = binding();
    return SummonKey::comboName(b ? b->keyCodes : std::vector<int>{}, services_.layout);
}

bool BindingRowModel::isLastWorkingBinding() const {
    return rondelix::isLastWorkingBinding(services_.store.config(), id_);
}

bool BindingRowModel::showsRemove() const {
    return services_.store.config().bindings.size() >= 2;
}

bool BindingRowModel::showsCollisionHint() const {
    const auto b = binding();
    return b && !recorder_->isRecording() && SummonKey::comboMayCollide(b->keyCodes);
}

std::optional<std::string> BindingRowModel::unholdableWarning() const {
    const auto b = binding();
    return b ? SummonKey::unholdableWarning(b->keyCodes) : std::nullopt;
}

bool BindingRowModel::showsHoldDelay() const {
    const auto b = binding();
    return b && b->enabled;
}

std::string BindingRowModel::holdDelayText() const {
    const auto b = binding();
    return ValueText::milliseconds(b ? b->holdThresholdMs : 0);
}

void BindingRowModel::setEnabled(bool enabled) {
    services_.store.mutate([&](Config& config) {
        SummonBinding* b = find(config, id_);
        // The last binding that can summon stays on, whoever asks.
        if (!b || (!enabled && rondelix::isLastWorkingBinding(config, id_))) return;
        b->enabled = enabled;
    });
}

void BindingRowModel::setHoldDelay(double ms) {
    services_.store.mutate([&](Config& config) {
        if (SummonBinding* b = find(config, id_)) b->holdThresholdMs = ValueText::truncatedMilliseconds(ms);
    });
}

void BindingRowModel::setKeyCodes(const std::vector<int>& keyCodes) {
    services_.store.mutate([&](Config& config) {
        if (SummonBinding* b = find(config, id_)) {
            b->keyCodes = keyCodes;
            b->enabled = true;
        }
    });
}

void BindingRowModel::remove() {
    services_.store.mutate([&](Config& config) {
        if (rondelix::isLastWorkingBinding(config, id_)) return;
        std::erase_if(config.bindings, [&](const SummonBinding& b) { return b.id == id_; });
    });
}

void BindingRowModel::toggleRecording() {
    BindingsHost& host = *services_.host;
    HotkeyManager& engine = services_.engine;
    if (!recorder_->isRecording()) {
        if (const auto stopOther = host.activeRecorderStop) stopOther();
        const std::weak_ptr<SummonComboRecorder> weakRecorder = recorder_;
        const std::weak_ptr<BindingsHost> weakHost = services_.host;
        host.activeRecorderStop = [weakRecorder] {
            if (const auto recorder = weakRecorder.lock()) recorder->stop();
        };
        engine.callbacks.recordingLiveness = [weakRecorder, weakHost] {
            const auto recorder = weakRecorder.lock();
            const auto liveHost = weakHost.lock();
            return recorder && liveHost && recorder->isRecording() && liveHost->isMainWindowOnScreen &&
                   liveHost->isMainWindowOnScreen();
        };
        engine.callbacks.cancelStuckRecorder = [weakRecorder] {
            if (const auto recorder = weakRecorder.lock()) recorder->stop();
        };
    }
    wireRecorder();
    if (recorder_->isRecording())
        recorder_->stop();
    else
        recorder_->start();
}

void BindingRowModel::wireRecorder() {
    recorder_->onCommit = [this](const std::vector<int>& keyCodes) {
        if (!keyCodes.empty()) setKeyCodes(keyCodes);
    };
    recorder_->onActiveChange = [this](bool active) {
        services_.engine.setRecording(active);
        if (!active) services_.host->activeRecorderStop = nullptr;
    };
    const std::weak_ptr<SummonComboRecorder> weakRecorder = recorder_;
    services_.engine.callbacks.onRecordingMouseButton = [weakRecorder](int button, bool isDown) {
        if (const auto recorder = weakRecorder.lock()) recorder->handleMouseButton(button, isDown);
    };
}

std::string BindingRowModel::capturedLabel() const {
    if (recorder_->captured().empty()) return "Hold keys…";
    return SummonKey::comboName(recorder_->captured(), services_.layout);
}

bool BindingRowModel::capturedMayCollide() const {
    return SummonKey::comboMayCollide(recorder_->captured());
}

} // namespace rondelix
