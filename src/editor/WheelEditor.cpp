#include "editor/WheelEditor.h"

#include "editor/FarewellArchive.h"
#include "editor/SliceEdits.h"
#include "editor/WheelGate.h"
#include "editor/WheelListEdits.h"
#include "platform/Dialogs.h"
#include "platform/Log.h"
#include "store/ConfigStore.h"
#include "store/SharedWheelTransfer.h"

#include <algorithm>
#include <utility>

namespace rondelix {

namespace {

std::vector<int> sliceCounts(const std::vector<Wheel>& wheels) {
    std::vector<int> counts;
    counts.reserve(wheels.size());
    for (const Wheel& w : wheels)
        counts.push_back(w.sliceCount);
    return counts;
}

} // namespace

WheelEditor::WheelEditor(Services services) : services_(services) {}

WheelEditor::~WheelEditor() {
    celebrationEnd_.cancel();
}

const std::vector<Wheel>& WheelEditor::wheels() const {
    return services_.transfer.store.config().wheels;
}

void WheelEditor::appear() {
    const Config& config = services_.transfer.store.config();
    const std::string candidate = services_.session.lastEditedWheelId().value_or(config.lastUsedWheelId);
    selectedWheelId_ = findWheel(config.wheels, candidate) ? candidate : config.lastUsedWheelId;
    consumeEditorTarget();
    services_.session.setLastEditedWheelId(selectedWheelId_);
    clampSelectedPosition();

    seenIds_ = wheelIds(config.wheels);
    seenCounts_ = sliceCounts(config.wheels);
    if (!configConnection_)
        configConnection_ = services_.transfer.store.configChanged.connectScoped([this] { configChanged(); });
    if (!targetConnection_)
        targetConnection_ =
            services_.session.editorTargetChanged.connectScoped([this] { consumeEditorTarget(); });
    changed.emit();
}

std::optional<Wheel> WheelEditor::currentWheel() const {
    if (const Wheel* wheel = findWheel(wheels(), selectedWheelId_)) return *wheel;
    return std::nullopt;
}

std::optional<Slice> WheelEditor::selectedSlice() const {
    const Wheel* wheel = findWheel(wheels(), selectedWheelId_);
    if (!wheel) return std::nullopt;
    if (const Slice* slice = sliceAt(*wheel, selectedPosition_)) return *slice;
    return std::nullopt;
}

void WheelEditor::select(const std::string& wheelId, int position) {
    setSelection(wheelId, position);
}

void WheelEditor::selectPosition(int position) {
    setSelection(selectedWheelId_, position);
}

void WheelEditor::setSelection(const std::string& wheelId, int position) {
    const bool wheelChanged = wheelId != selectedWheelId_;
    if (!wheelChanged && position == selectedPosition_) return;
    selectedWheelId_ = wheelId;
    selectedPosition_ = position;
    // The summon engine previews the wheel edited last while the editor is in front.
    if (wheelChanged) services_.session.setLastEditedWheelId(selectedWheelId_);
    clampSelectedPosition();
    changed.emit();
}

void WheelEditor::clampSelectedPosition() {
    const Wheel* wheel = findWheel(wheels(), selectedWheelId_);
    const int count = wheel ? wheel->sliceCount : fallbackSliceCount;
    if (selectedPosition_ < 0 || selectedPosition_ >= count) {
        selectedPosition_ = 0;
        changed.emit();
    }
}

std::string WheelEditor::positionName(int position) const {
    const Wheel* wheel = findWheel(wheels(), selectedWheelId_);
    return rondelix::positionName(position, wheel ? wheel->sliceCount : fallbackSliceCount);
}

void WheelEditor::consumeEditorTarget() {
    const auto target = services_.session.editorTarget();
    if (!target) return;
    services_.session.clearEditorTarget();
    setSelection(target->wheelId, target->position);
    clampSelectedPosition();
}

void WheelEditor::configChanged() {
    const auto& now = wheels();
    // A wheel edited alone keeps its id: only its slot count can matter.
    if (const auto only = services_.transfer.store.onlyWheelChanged();
        only && *only < now.size() && seenCounts_.size() == now.size()) {
        if (std::exchange(seenCounts_[*only], now[*only].sliceCount) != now[*only].sliceCount)
            clampSelectedPosition();
        return;
    }
    // Compared where they stand: most changes (a keystroke in a name) leave
    // both alone, and copying them costs as much as there are wheels.
    const auto sameIds = std::ranges::equal(now, seenIds_, {}, &Wheel::id);
    const auto sameCounts = std::ranges::equal(now, seenCounts_, {}, &Wheel::sliceCount);
    if (sameIds && sameCounts) return;
    auto ids = wheelIds(now);
    auto counts = sliceCounts(now);
    if (ids != seenIds_) {
        seenIds_ = std::move(ids);
        if (std::find(seenIds_.begin(), seenIds_.end(), selectedWheelId_) == seenIds_.end())
            setSelection(seenIds_.empty() ? std::string("default") : seenIds_.front(), selectedPosition_);
        clampSelectedPosition();
    }
    if (counts != seenCounts_) {
        seenCounts_ = std::move(counts);
        clampSelectedPosition();
    }
}

// Tabs and pills --------------------------------------------------------------

bool WheelEditor::confirm(const std::string& title, const std::string& message,
                          const std::string& confirmTitle) {
    platform::Alert alert;
    alert.message = title;
    alert.informativeText = message;
    alert.buttons = {confirmTitle, "Cancel"};
    return services_.transfer.dialogs.runAlert(alert) == 0;
}

bool WheelEditor::tripleConfirmTheCentury() {
    for (const WheelGate& step : centuryConfirmations())
        if (!confirm(step.title, step.message, step.confirm)) return false;
    return true;
}

void WheelEditor::addWheel() {
    const std::size_t count = wheels().size();
    if (count >= farewellCount) {
        runFarewell();
        return;
    }
    if (count == centuryGateCount) {
        if (!tripleConfirmTheCentury()) return;
    } else if (const auto gate = wheelGate(static_cast<int>(count))) {
        if (!confirm(gate->title, gate->message, gate->confirm)) return;
    }
    std::string newId;
    services_.transfer.store.editWheels(std::nullopt, [&](std::vector<Wheel>& list) {
        Wheel wheel = newWheel(list);
        newId = wheel.id;
        list.push_back(std::move(wheel));
    });
    select(newId, 0);
    if (wheels().size() == celebratedCount) celebrate();
}

void WheelEditor::celebrate() {
    celebrationEnd_.cancel();
    celebrating_ = true;
    changed.emit();
    celebrationEnd_ = services_.queue.after(celebrationSeconds, [this, alive = lifetime_.watch()] {
        if (!alive) return;
        celebrating_ = false;
        changed.emit();
    });
}

void WheelEditor::runFarewell() {
    for (const WheelGate& step : farewellAlerts()) {
        platform::Alert alert;
        alert.style = platform::Alert::Style::critical;
        alert.message = step.title;
        alert.informativeText = step.message;
        alert.buttons = {step.confirm};
        services_.transfer.dialogs.runAlert(alert);
    }
    ConfigStore& store = services_.transfer.store;
    // The clean-up leaves no undo step and outlives the backup's rotation, so
    // the wheels as they were are kept in a file of their own first.
    const auto archive = FarewellArchive::write(store.paths(), store.config());
    if (archive.ok()) {
        services_.transfer.log.write("wheels before the 255-wheel clean-up were kept in " +
                                     archive.value().string());
        store.mutate([](Config& config) {
            std::erase_if(config.wheels, [](const Wheel& w) { return isNumberedWheelName(w.name); });
        });
    } else {
        services_.transfer.log.write("the 255-wheel clean-up removed nothing: could not keep a copy first (" +
                                     archive.error() + ")");
    }
    if (onQuit) onQuit();
}

void WheelEditor::importWheel() {
    if (const auto id = SharedWheelTransfer(services_.transfer).importWheel()) select(*id, 0);
}

void WheelEditor::exportWheel(const std::string& id) {
    SharedWheelTransfer(services_.transfer).exportWheel(id);
}

void WheelEditor::dropPill(const std::string& draggedId, const std::string& targetId) {
    services_.transfer.store.editWheels(
        std::nullopt, [&](std::vector<Wheel>& list) { moveWheelOnto(list, draggedId, targetId); });
}

void WheelEditor::movePill(const std::string& id, int offset) {
    services_.transfer.store.editWheels(std::nullopt,
                                        [&](std::vector<Wheel>& list) { moveWheelBy(list, id, offset); });
    select(id, selectedPosition_);
}

// Undo ------------------------------------------------------------------------

void WheelEditor::undo() {
    services_.transfer.store.undo();
}

void WheelEditor::redo() {
    services_.transfer.store.redo();
}

UndoKeyAction WheelEditor::undoKeyWanted(UndoKeyPress press) const {
    return undoKeyAction(press, services_.session.wheelsPageShown(),
                         services_.session.isCapturingKeystroke());
}

UndoKeyAction WheelEditor::handleUndoKey(UndoKeyPress press) {
    const auto action = undoKeyWanted(press);
    if (action == UndoKeyAction::undo) undo();
    if (action == UndoKeyAction::redo) redo();
    return action;
}

} // namespace rondelix
