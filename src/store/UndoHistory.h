#pragma once

#include "model/Config.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace rondelix {

// The undo and redo stacks of wheel-list snapshots. A snapshot shares every
// wheel that did not change with its neighbour on either stack, so a long
// history of small edits costs little more than one copy of the wheels.
class UndoHistory {
  public:
    static constexpr std::size_t limit = 250;

    // Records the wheels as they were before an edit; drops the oldest
    // snapshot past the limit. Does not touch the redo stack.
    void record(const std::vector<Wheel>& before);

    // Takes the newest undo snapshot, moving `current` onto the redo stack.
    // Nothing when there is nothing to undo.
    std::optional<std::vector<Wheel>> undo(const std::vector<Wheel>& current);
    // The mirror of undo.
    std::optional<std::vector<Wheel>> redo(const std::vector<Wheel>& current);

    void clearRedo() { redo_.clear(); }
    void clear();

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    std::size_t undoCount() const { return undo_.size(); }
    std::size_t redoCount() const { return redo_.size(); }
    // The newest undo snapshot, for inspection; nothing when empty.
    std::optional<std::vector<Wheel>> newestUndo() const;
    std::optional<std::vector<Wheel>> newestRedo() const;

  private:
    using Snapshot = std::vector<std::shared_ptr<const Wheel>>;

    Snapshot share(const std::vector<Wheel>& wheels) const;
    static std::vector<Wheel> expand(const Snapshot& snapshot);

    std::vector<Snapshot> undo_;
    std::vector<Snapshot> redo_;
};

} // namespace rondelix
