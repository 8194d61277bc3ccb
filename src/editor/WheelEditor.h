#pragma once

#include "editor/EditorSession.h"
#include "editor/UndoKeys.h"
#include "model/Config.h"
#include "platform/MainQueue.h"
#include "store/ConfigTransferServices.h"
#include "util/LifetimeGuard.h"
#include "util/Signal.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rondelix {

namespace platform {
class Sounds;
}

// The state and the operations of the My Wheels page: which wheel and slot
// are selected (kept valid while the configuration changes under them), the
// requests to edit a slice, the wheel list's add, import, reorder, duplicate
// and delete with their confirmations, the wheel's own settings and the slice
// operations. Every change goes through the store's undoable wheel edit; the
// editor keeps no copy of the configuration. Main thread only.
class WheelEditor {
  public:
    struct Services {
        ConfigTransferServices transfer;
        EditorSession& session;
        platform::Sounds& sounds;
        platform::MainQueue& queue;
    };

    static constexpr double celebrationSeconds = 4.5;
    static constexpr std::size_t celebratedCount = 100;
    static constexpr std::size_t centuryGateCount = 99;
    static constexpr std::size_t farewellCount = 255;
    // The slot count assumed while the selection names no wheel.
    static constexpr int fallbackSliceCount = 8;
    static constexpr const char* undoHint = "You can undo this with Ctrl+Z while the window stays open.";

    explicit WheelEditor(Services services);
    ~WheelEditor();
    WheelEditor(const WheelEditor&) = delete;
    WheelEditor& operator=(const WheelEditor&) = delete;

    // The page came on screen: picks the selection, takes a pending request.
    void appear();

    // Selection ---------------------------------------------------------------
    const std::string& selectedWheelId() const { return selectedWheelId_; }
    int selectedPosition() const { return selectedPosition_; }
    std::optional<Wheel> currentWheel() const;
    std::optional<Slice> selectedSlice() const;
    void select(const std::string& wheelId, int position);
    void selectPosition(int position);
    void clampSelectedPosition();
    // The compass name of a slot of the current wheel.
    std::string positionName(int position) const;
    bool celebrating() const { return celebrating_; }

    // Told when the selection or the celebration changes.
    Signal<> changed;
    // The last step of the 255-wheel sequence: the program quits.
    std::function<void()> onQuit;

    // Tabs and pills ----------------------------------------------------------
    void addWheel();
    void importWheel();
    void exportWheel(const std::string& id);
    void dropPill(const std::string& draggedId, const std::string& targetId);
    void movePill(const std::string& id, int offset);

    // Wheel section -----------------------------------------------------------
    void setName(const std::string& name);
    void setSliceCount(int count);
    void setBoundApp(const std::optional<std::string>& identifier);
    std::string boundAppName() const;
    void duplicateWheel();
    void deleteWheel();

    // Slice section -----------------------------------------------------------
    void addSlice(int position);
    void removeSlice(int position);
    void duplicateSlice();
    void copySlice(const std::string& targetWheelId);
    void moveSlice(const std::string& targetWheelId);
    void swapSlices(int from, int to);
    // Whether a copy or move can land in that wheel.
    bool hasFreeSlot(const std::string& wheelId) const;

    // Undo --------------------------------------------------------------------
    void undo();
    void redo();
    // Acts on an undo key press when the page and the capture state allow;
    // the caller swallows the key unless the answer is passOn.
    UndoKeyAction handleUndoKey(UndoKeyPress press);
    // What handleUndoKey would do, without doing it.
    UndoKeyAction undoKeyWanted(UndoKeyPress press) const;

  private:
    const std::vector<Wheel>& wheels() const;
    void setSelection(const std::string& wheelId, int position);
    void consumeEditorTarget();
    void configChanged();
    bool confirm(const std::string& title, const std::string& message, const std::string& confirmTitle);
    bool tripleConfirmTheCentury();
    void runFarewell();
    void celebrate();

    Services services_;
    std::string selectedWheelId_ = "default";
    int selectedPosition_ = 0;
    bool celebrating_ = false;
    platform::Cancel celebrationEnd_;

    // What the configuration looked like at the last look, for its observers.
    std::vector<std::string> seenIds_;
    std::vector<int> seenCounts_;

    ScopedConnection configConnection_;
    ScopedConnection targetConnection_;
    LifetimeGuard lifetime_;
};

} // namespace rondelix
