#pragma once

#include "util/Signal.h"

#include <optional>
#include <string>

namespace rondelix {

// What the wheel editor shares with the rest of the program and what outlives
// the page: the pending request to edit a slice, the wheel edited last, the
// keystroke capture that keeps the undo keys, and the session's answer to the
// delete confirmation. The application layer provides it.
class EditorSession {
  public:
    struct Target {
        std::string wheelId;
        int position = 0;
        friend bool operator==(const Target&, const Target&) = default;
    };

    virtual ~EditorSession() = default;

    virtual std::optional<Target> editorTarget() const = 0;
    virtual void clearEditorTarget() = 0;
    virtual std::optional<std::string> lastEditedWheelId() const = 0;
    virtual void setLastEditedWheelId(const std::string& id) = 0;
    virtual bool isCapturingKeystroke() const = 0;
    virtual bool wheelsPageShown() const = 0;
    virtual bool suppressDeleteWheelConfirm() const = 0;
    virtual void setSuppressDeleteWheelConfirm(bool suppress) = 0;

    // Told when a new request to edit a slice arrives, also one for the
    // slice asked for last time.
    Signal<> editorTargetChanged;
};

} // namespace rondelix
