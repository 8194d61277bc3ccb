#include "app/CoordinatorEditorSession.h"

#include "app/AppCoordinator.h"

namespace rondelix {

CoordinatorEditorSession::CoordinatorEditorSession(AppCoordinator& coordinator) : coordinator_(coordinator) {
    connection_ = coordinator_.changed.connectScoped([this](AppCoordinator::Property property) {
        if (property == AppCoordinator::Property::editorTarget && coordinator_.editorTarget())
            editorTargetChanged.emit();
    });
}

CoordinatorEditorSession::~CoordinatorEditorSession() = default;

std::optional<EditorSession::Target> CoordinatorEditorSession::editorTarget() const {
    const auto& target = coordinator_.editorTarget();
    if (!target) return std::nullopt;
    return Target{target->wheelId, target->position};
}

void CoordinatorEditorSession::clearEditorTarget() {
    coordinator_.clearEditorTarget();
}

std::optional<std::string> CoordinatorEditorSession::lastEditedWheelId() const {
    return coordinator_.lastEditedWheelId;
}

void CoordinatorEditorSession::setLastEditedWheelId(const std::string& id) {
    coordinator_.lastEditedWheelId = id;
}

bool CoordinatorEditorSession::isCapturingKeystroke() const {
    return coordinator_.isCapturingKeystroke;
}

bool CoordinatorEditorSession::wheelsPageShown() const {
    return coordinator_.mainTab() == MainTab::wheels;
}

bool CoordinatorEditorSession::suppressDeleteWheelConfirm() const {
    return coordinator_.suppressDeleteWheelConfirm;
}

void CoordinatorEditorSession::setSuppressDeleteWheelConfirm(bool suppress) {
    coordinator_.suppressDeleteWheelConfirm = suppress;
}

} // namespace rondelix
