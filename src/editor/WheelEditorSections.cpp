// The wheel section's and the slice section's operations of the editor.

#include "editor/ApplicationChoice.h"
#include "editor/SliceEdits.h"
#include "editor/WheelEditor.h"
#include "editor/WheelListEdits.h"
#include "platform/Dialogs.h"
#include "platform/Sounds.h"
#include "store/ConfigStore.h"
#include "util/CurlyQuoted.h"

namespace rondelix {

namespace {

std::string plural(int count) {
    return count == 1 ? "" : "s";
}

} // namespace

// Wheel section ---------------------------------------------------------------

void WheelEditor::setName(const std::string& name) {
    const std::string id = selectedWheelId_;
    services_.transfer.store.editWheel(id, "wheelname:" + id, [&](Wheel& wheel) { wheel.name = name; });
}

void WheelEditor::setSliceCount(int count) {
    const auto current = currentWheel();
    if (current && current->sliceCount == count) return;
    const std::string id = selectedWheelId_;
    if (current) {
        if (const int dropped = slicesBeyond(*current, count); dropped > 0) {
            platform::Alert alert;
            alert.message = "Reduce to " + std::to_string(count) + " slices?";
            alert.informativeText = std::to_string(dropped) + " action" + plural(dropped) +
                                    " on the removed wedge" + plural(dropped) + " will be deleted. " +
                                    undoHint;
            alert.buttons = {"Reduce", "Cancel"};
            alert.defaultButton = 1;
            if (services_.transfer.dialogs.runAlert(alert) != 0) return;
        }
    }
    services_.transfer.store.editWheels(std::nullopt, [&](std::vector<Wheel>& list) {
        if (Wheel* wheel = findWheel(list, id)) rondelix::setSliceCount(*wheel, count);
    });
    if (selectedPosition_ >= count) selectPosition(0);
}

void WheelEditor::setBoundApp(const std::optional<std::string>& identifier) {
    const std::string id = selectedWheelId_;
    services_.transfer.store.editWheels(std::nullopt, [&](std::vector<Wheel>& list) {
        if (Wheel* wheel = findWheel(list, id)) wheel->appBundleIdentifier = identifier;
    });
}

std::string WheelEditor::boundAppName() const {
    const Wheel* wheel = findWheel(wheels(), selectedWheelId_);
    return rondelix::boundAppName(wheel ? wheel->appBundleIdentifier : std::nullopt,
                                  services_.transfer.workspace);
}

void WheelEditor::duplicateWheel() {
    const auto source = currentWheel();
    if (!source) return;
    if (wheels().size() >= farewellCount) {
        services_.sounds.beep();
        return;
    }
    std::string copyId;
    services_.transfer.store.editWheels(std::nullopt, [&](std::vector<Wheel>& list) {
        Wheel copy = duplicateOf(*source, list);
        copyId = copy.id;
        insertAfter(list, source->id, std::move(copy));
    });
    select(copyId, 0);
}

void WheelEditor::deleteWheel() {
    const auto wheel = currentWheel();
    if (!wheel) return;
    if (!wheel->slices.empty() && !services_.session.suppressDeleteWheelConfirm()) {
        const int count = static_cast<int>(wheel->slices.size());
        platform::Alert alert;
        alert.message = "Delete " + curlyQuoted(wheel->name) + "?";
        alert.informativeText = "This removes the wheel and its " + std::to_string(count) + " action" +
                                plural(count) + ". " + undoHint;
        alert.buttons = {"Delete Wheel", "Cancel"};
        alert.defaultButton = 1;
        alert.suppressionTitle = "Don\u2019t ask again this session";
        const auto answer = services_.transfer.dialogs.runSuppressibleAlert(alert);
        if (answer.button != 0) return;
        if (answer.suppress) services_.session.setSuppressDeleteWheelConfirm(true);
    }
    const std::string id = wheel->id;
    services_.transfer.store.editWheels(std::nullopt, [&](std::vector<Wheel>& list) {
        std::erase_if(list, [&](const Wheel& w) { return w.id == id; });
    });
    const auto& left = wheels();
    select(left.empty() ? std::string("default") : left.front().id, selectedPosition_);
    clampSelectedPosition();
}

// Slice section ---------------------------------------------------------------

void WheelEditor::addSlice(int position) {
    const Wheel* wheel = findWheel(wheels(), selectedWheelId_);
    if (position < 0 || position >= (wheel ? wheel->sliceCount : fallbackSliceCount)) return;
    const std::string id = selectedWheelId_;
    services_.transfer.store.editWheels(std::nullopt, [&](std::vector<Wheel>& list) {
        if (Wheel* target = findWheel(list, id)) addSliceIfEmpty(*target, newActionSlice(position));
    });
}

void WheelEditor::removeSlice(int position) {
    const std::string id = selectedWheelId_;
    services_.transfer.store.editWheels(std::nullopt, [&](std::vector<Wheel>& list) {
        if (Wheel* wheel = findWheel(list, id)) removeSlicesAt(*wheel, position);
    });
}

void WheelEditor::duplicateSlice() {
    const auto slice = selectedSlice();
    const auto wheel = currentWheel();
    const auto free = wheel ? firstEmptyPosition(*wheel) : std::nullopt;
    if (!slice || !free) {
        services_.sounds.beep();
        return;
    }
    const std::string id = selectedWheelId_;
    services_.transfer.store.editWheels(std::nullopt, [&](std::vector<Wheel>& list) {
        if (Wheel* target = findWheel(list, id)) target->slices.push_back(copiedTo(*slice, *free));
    });
    selectPosition(*free);
}

bool WheelEditor::hasFreeSlot(const std::string& wheelId) const {
    const Wheel* wheel = findWheel(wheels(), wheelId);
    return wheel && firstEmptyPosition(*wheel);
}

void WheelEditor::copySlice(const std::string& targetWheelId) {
    const auto slice = selectedSlice();
    const Wheel* target = findWheel(wheels(), targetWheelId);
    const auto free = target ? firstEmptyPosition(*target) : std::nullopt;
    if (!slice || !free) {
        services_.sounds.beep();
        return;
    }
    services_.transfer.store.editWheels(std::nullopt, [&](std::vector<Wheel>& list) {
        if (Wheel* wheel = findWheel(list, targetWheelId)) wheel->slices.push_back(copiedTo(*slice, *free));
    });
}

void WheelEditor::moveSlice(const std::string& targetWheelId) {
    const auto slice = selectedSlice();
    const Wheel* target = findWheel(wheels(), targetWheelId);
    const auto free = target ? firstEmptyPosition(*target) : std::nullopt;
    if (!slice || !free) {
        services_.sounds.beep();
        return;
    }
    const std::string sourceId = selectedWheelId_;
    const int sourcePosition = selectedPosition_;
    services_.transfer.store.editWheels(std::nullopt, [&](std::vector<Wheel>& list) {
        Wheel* wheel = findWheel(list, targetWheelId);
        if (!wheel) return;
        wheel->slices.push_back(copiedTo(*slice, *free));
        if (Wheel* source = findWheel(list, sourceId)) removeSlicesAt(*source, sourcePosition);
    });
    select(targetWheelId, *free);
}

void WheelEditor::swapSlices(int from, int to) {
    if (from == to) return;
    const std::string id = selectedWheelId_;
    SwapOutcome outcome;
    services_.transfer.store.editWheels(std::nullopt, [&](std::vector<Wheel>& list) {
        if (Wheel* wheel = findWheel(list, id)) outcome = rondelix::swapSlices(*wheel, from, to);
    });
    if (!outcome.moved) return;
    if (selectedPosition_ == from)
        selectPosition(to);
    else if (selectedPosition_ == to && outcome.exchanged)
        selectPosition(from);
}

} // namespace rondelix
