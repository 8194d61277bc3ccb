#include "editor/ui/ActionInputs.h"

#include "editor/ui/AppActionInput.h"
#include "editor/ui/AutomationActionInput.h"
#include "editor/ui/KeystrokeActionInput.h"
#include "editor/ui/LinkActionInput.h"
#include "editor/ui/PageActionInput.h"
#include "editor/ui/ScriptActionInput.h"
#include "editor/ui/SystemActionInput.h"
#include "editor/ui/TextActionInput.h"

#include <algorithm>
#include <array>

namespace rondelix {

namespace {

using SliceFormKinds::ActionKind;

template <typename Input> ActionInput* make(const ActionInputContext& context, QWidget* parent) {
    return new Input(context, parent);
}

struct Row {
    ActionKind kind;
    ActionInput* (*make)(const ActionInputContext&, QWidget*);
};

constexpr std::array rows{
    Row{ActionKind::text, make<TextActionInput>},
    Row{ActionKind::app, make<AppActionInput>},
    Row{ActionKind::url, make<LinkActionInput>},
    Row{ActionKind::shortcut, make<AutomationActionInput>},
    Row{ActionKind::systemAction, make<SystemActionInput>},
    Row{ActionKind::script, make<ScriptActionInput>},
    Row{ActionKind::keystroke, make<KeystrokeActionInput>},
    Row{ActionKind::openSettings, make<PageActionInput>},
};

} // namespace

ActionInput* makeActionInput(ActionKind kind, const ActionInputContext& context, QWidget* parent) {
    const auto row = std::find_if(rows.begin(), rows.end(), [kind](const Row& r) { return r.kind == kind; });
    return row == rows.end() ? nullptr : row->make(context, parent);
}

} // namespace rondelix
