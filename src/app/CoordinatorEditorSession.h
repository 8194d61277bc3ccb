#pragma once

#include "editor/EditorSession.h"
#include "util/Signal.h"

#include <cstddef>

namespace rondelix {

class AppCoordinator;

// The editor's shared state as the coordinator holds it.
class CoordinatorEditorSession final : public EditorSession {
  public:
    explicit CoordinatorEditorSession(AppCoordinator& coordinator);
    ~CoordinatorEditorSession() override;

    std::optional<Target> editorTarget() const override;
    void clearEditorTarget() override;
    std::optional<std::string> lastEditedWheelId() const override;
    void setLastEditedWheelId(const std::string& id) override;
    bool isCapturingKeystroke() const override;
    bool wheelsPageShown() const override;
    bool suppressDeleteWheelConfirm() const override;
    void setSuppressDeleteWheelConfirm(bool suppress) override;

  private:
    AppCoordinator& coordinator_;
    ScopedConnection connection_;
};

} // namespace rondelix
