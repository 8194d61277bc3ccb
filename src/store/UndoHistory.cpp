#include "store/UndoHistory.h"

#include <algorithm>

namespace rondelix {

namespace {

using SharedWheel = std::shared_ptr<const Wheel>;

// An equal wheel already held by a neighbouring snapshot, looked for first at
// the same index since most edits leave the order alone.
SharedWheel findShared(const std::vector<SharedWheel>* neighbour, std::size_t index, const Wheel& wheel) {
    if (!neighbour) return nullptr;
    if (index < neighbour->size() && *(*neighbour)[index] == wheel) return (*neighbour)[index];
    for (const auto& candidate : *neighbour)
        if (candidate->id == wheel.id && *candidate == wheel) return candidate;
    return nullptr;
}

} // namespace

UndoHistory::Snapshot UndoHistory::share(const std::vector<Wheel>& wheels) const {
    const Snapshot* newestUndo = undo_.empty() ? nullptr : &undo_.back();
    const Snapshot* newestRedo = redo_.empty() ? nullptr : &redo_.back();
    Snapshot snapshot;
    snapshot.reserve(wheels.size());
    for (std::size_t i = 0; i < wheels.size(); ++i) {
        SharedWheel shared = findShared(newestUndo, i, wheels[i]);
        if (!shared) shared = findShared(newestRedo, i, wheels[i]);
        snapshot.push_back(shared ? shared : std::make_shared<const Wheel>(wheels[i]));
    }
    return snapshot;
}

std::vector<Wheel> UndoHistory::expand(const Snapshot& snapshot) {
    std::vector<Wheel> wheels;
    wheels.reserve(snapshot.size());
    for (const auto& wheel : snapshot)
        wheels.push_back(*wheel);
    return wheels;
}

void UndoHistory::record(const std::vector<Wheel>& before) {
    undo_.push_back(share(before));
    if (undo_.size() > limit) undo_.erase(undo_.begin());
}

std::optional<std::vector<Wheel>> UndoHistory::undo(const std::vector<Wheel>& current) {
    if (undo_.empty()) return std::nullopt;
    Snapshot taken = std::move(undo_.back());
    undo_.pop_back();
    redo_.push_back(share(current));
    return expand(taken);
}

std::optional<std::vector<Wheel>> UndoHistory::redo(const std::vector<Wheel>& current) {
    if (redo_.empty()) return std::nullopt;
    Snapshot taken = std::move(redo_.back());
    redo_.pop_back();
    undo_.push_back(share(current));
    return expand(taken);
}

void UndoHistory::clear() {
    undo_.clear();
    redo_.clear();
}

std::optional<std::vector<Wheel>> UndoHistory::newestUndo() const {
    if (undo_.empty()) return std::nullopt;
    return expand(undo_.back());
}

std::optional<std::vector<Wheel>> UndoHistory::newestRedo() const {
    if (redo_.empty()) return std::nullopt;
    return expand(redo_.back());
}

} // namespace rondelix
