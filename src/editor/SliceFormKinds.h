#pragma once

#include "model/Icon.h"
#include "model/MacroAction.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace rondelix::SliceFormKinds {

// The icon kinds in the order the icon menu lists them.
enum class IconKind { automatic, symbol, emoji, image, none };
inline constexpr std::array allIconKinds{IconKind::automatic, IconKind::symbol, IconKind::emoji,
                                         IconKind::image, IconKind::none};

// The action kinds in the order the action menu lists them (not the order of
// the action cases).
enum class ActionKind { text, app, url, shortcut, systemAction, script, keystroke, openSettings };
inline constexpr std::array allActionKinds{
    ActionKind::text,         ActionKind::app,    ActionKind::url,       ActionKind::shortcut,
    ActionKind::systemAction, ActionKind::script, ActionKind::keystroke, ActionKind::openSettings};

// The menu text of a kind; the text reads back as the kind.
std::string_view title(IconKind kind);
std::string_view title(ActionKind kind);
std::optional<IconKind> iconKindFromTitle(std::string_view title);
std::optional<ActionKind> actionKindFromTitle(std::string_view title);

IconKind kindOf(const Icon& icon);
// Nothing for an action of a kind only a newer version knows: the form offers
// no input for it.
std::optional<ActionKind> kindOf(const MacroAction& action);

// What choosing a kind writes: always a fresh value, also when the kind is
// already the current one.
Icon startingIcon(IconKind kind);
MacroAction defaultAction(ActionKind kind);

// The line under the action menu.
std::string_view caption(ActionKind kind);

// "No text entered yet — this slice won't do anything when fired." for an
// action that does nothing when fired, the newer-version sentence for one
// this version cannot fire; none otherwise.
std::optional<std::string> unconfiguredWarning(const MacroAction& action);

} // namespace rondelix::SliceFormKinds
