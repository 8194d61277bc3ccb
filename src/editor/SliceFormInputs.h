#pragma once

#include "actions/SystemActionRoute.h"
#include "model/Icon.h"
#include "model/KeyCombo.h"
#include "model/MacroAction.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

namespace platform {
class Workspace;
}

// What the slice form's inputs show and write, apart from the widgets.
namespace SliceFormInputs {

// The chooser rows of the icon input.
std::string symbolRowLabel(const Icon::SfSymbol& symbol);
std::string imageRowLabel(const Icon::CustomImage& image);

// The application row: the installed application's name, else the stored
// identifier; "No app chosen" without an identifier (an empty one included),
// whatever the path holds.
std::string appRowName(const MacroAction::App& app, const platform::Workspace& workspace);

// The key field: the key's character in upper case, else the key's name.
std::string keyFieldText(const KeyCombo& combo);
// Only keys that type a character of the key table can be typed in.
bool keyFieldEditable(const KeyCombo& combo);
// The combination after the field's text changed: the last character
// typed picks the key, the modifiers stay. None when nothing changes (an
// empty text, or a character outside the key table).
std::optional<KeyCombo> keyFieldWrite(const KeyCombo& combo, std::string_view text);

// The modifier toggles in the order shown. Ctrl stands for both Command and
// Control, since Command travels as Control: it reads on when either is set,
// and switching it on sets Command alone.
enum class Modifier { ctrl, shift, alt, super };
inline constexpr Modifier modifierOrder[] = {Modifier::ctrl, Modifier::shift, Modifier::alt, Modifier::super};
std::string_view modifierTitle(Modifier modifier);
bool modifierIsOn(const KeyCombo& combo, Modifier modifier);
KeyCombo withModifier(KeyCombo combo, Modifier modifier, bool on);

// One row of a menu: its title, what choosing it writes, and whether it
// carries the check mark.
struct MenuRow {
    std::string title;
    std::string value;
    bool checked = false;
    // Why the row cannot be chosen here; it shows greyed with this as its tip.
    std::optional<std::string> unavailable;
};
struct MenuSection {
    std::string title;
    std::vector<MenuRow> rows;
};

// The system-action menu: one section per category that has an action a
// Linux desktop can have, the current id's row checked (exact match), the
// actions that do nothing on this desktop marked unavailable. Its label is
// the current action's name, marked as the wheel review marks it when it
// does nothing here, or "Choose an action…". An automation installed as the
// program ships it does nothing where the desktop lacks what it switches.
std::vector<MenuSection> systemActionMenu(const std::string& currentId, std::string_view desktop,
                                          const InstalledAsShipped& asShipped = {});
std::string systemActionLabel(const std::string& currentId, std::string_view desktop,
                              const InstalledAsShipped& asShipped = {});

// The page and quick-setting menu, likewise, without checking for updates,
// which is the package manager's here; label "Choose…" without a match.
std::vector<MenuSection> pageMenu(const std::optional<std::string>& currentTarget);
std::string pageLabel(const std::optional<std::string>& currentTarget);

// The automation picker's rows: "Choose an automation…" (the empty name),
// then the current name marked as not installed when the list lacks it
// (ignoring letter case), then the installed names. The row whose value is
// the current name is checked.
std::vector<MenuRow> automationRows(const std::string& currentName,
                                    const std::vector<std::string>& installed);

} // namespace SliceFormInputs

} // namespace rondelix
