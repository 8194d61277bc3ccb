#include "editor/SliceFormKinds.h"

#include "model/ActionClassification.h"
#include "util/Overloaded.h"

#include <algorithm>
#include <variant>

namespace rondelix::SliceFormKinds {

namespace {

struct IconKindRow {
    IconKind kind;
    std::string_view title;
};

constexpr std::array<IconKindRow, 5> iconKindRows{{
    {IconKind::automatic, "Auto"},
    {IconKind::symbol, "Symbol"},
    {IconKind::emoji, "Emoji"},
    {IconKind::image, "Image"},
    {IconKind::none, "None"},
}};

struct ActionKindRow {
    ActionKind kind;
    std::string_view title;
    std::string_view caption;
    // The start of the warning for an action of this kind that does nothing.
    std::string_view emptyHead;
    // What choosing the kind writes; its case is the kind's case of action.
    MacroAction start;
};

const std::array<ActionKindRow, 8>& actionKindRows() {
    static const std::array<ActionKindRow, 8> rows{{
        {ActionKind::text, "Text", "Pastes this text wherever your cursor is.", "No text entered yet",
         MacroAction::Text{""}},
        {ActionKind::app, "App", "Opens an app.", "No app chosen yet", MacroAction::App{}},
        {ActionKind::url, "URL", "Opens a link in your browser.", "No link entered yet",
         MacroAction::Url{"https://"}},
        {ActionKind::shortcut, "Automations", "Runs one of your automations.", "No automation chosen yet",
         MacroAction::Shortcut{""}},
        {ActionKind::systemAction, "System", "Flips a system setting (dark mode, volume, Wi-Fi…).",
         "No system action chosen yet", MacroAction::SystemAction{"toggle-dark-mode"}},
        {ActionKind::script, "Script", "Runs a shell command.", "No script entered yet",
         MacroAction::Script{""}},
        {ActionKind::keystroke, "Keystroke", "Sends a shortcut (like Ctrl+C) to the app you're in.", "",
         MacroAction::Keystroke{KeyCombo{.keyCode = 8, .primary = true}}},
        {ActionKind::openSettings, "Rondelix", "Opens a Rondelix page or flips a quick setting.", "",
         MacroAction::OpenSettings{}},
    }};
    return rows;
}

const ActionKindRow& rowOf(ActionKind kind) {
    const auto& rows = actionKindRows();
    return *std::find_if(rows.begin(), rows.end(),
                         [kind](const ActionKindRow& row) { return row.kind == kind; });
}

} // namespace

std::string_view title(IconKind kind) {
    return std::find_if(iconKindRows.begin(), iconKindRows.end(),
                        [kind](const IconKindRow& row) { return row.kind == kind; })
        ->title;
}

std::string_view title(ActionKind kind) {
    return rowOf(kind).title;
}

std::optional<IconKind> iconKindFromTitle(std::string_view text) {
    for (const IconKindRow& row : iconKindRows)
        if (row.title == text) return row.kind;
    return std::nullopt;
}

std::optional<ActionKind> actionKindFromTitle(std::string_view text) {
    for (const ActionKindRow& row : actionKindRows())
        if (row.title == text) return row.kind;
    return std::nullopt;
}

IconKind kindOf(const Icon& icon) {
    return std::visit(Overloaded{[](const Icon::Auto&) { return IconKind::automatic; },
                                 [](const Icon::None&) { return IconKind::none; },
                                 [](const Icon::SfSymbol&) { return IconKind::symbol; },
                                 [](const Icon::Emoji&) { return IconKind::emoji; },
                                 [](const Icon::CustomImage&) { return IconKind::image; }},
                      icon.value);
}

std::optional<ActionKind> kindOf(const MacroAction& action) {
    for (const ActionKindRow& row : actionKindRows())
        if (row.start.value.index() == action.value.index()) return row.kind;
    return std::nullopt;
}

Icon startingIcon(IconKind kind) {
    switch (kind) {
    case IconKind::automatic:
        return Icon::Auto{};
    case IconKind::symbol:
        return Icon::SfSymbol{"star.fill"};
    case IconKind::emoji:
        return Icon::Emoji{"\u2728"};
    case IconKind::image:
        return Icon::CustomImage{""};
    case IconKind::none:
        break;
    }
    return Icon::None{};
}

MacroAction defaultAction(ActionKind kind) {
    return rowOf(kind).start;
}

std::string_view caption(ActionKind kind) {
    return rowOf(kind).caption;
}

std::optional<std::string> unconfiguredWarning(const MacroAction& action) {
    const auto kind = kindOf(action);
    if (!kind) return std::string(newerVersionSentence);
    const std::string_view head = rowOf(*kind).emptyHead;
    if (head.empty() || !isUnconfigured(action)) return std::nullopt;
    return std::string(head) + " — this slice won't do anything when fired.";
}

} // namespace rondelix::SliceFormKinds
