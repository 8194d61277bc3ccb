#include "editor/SliceFormInputs.h"

#include "actions/SystemActionRoute.h"
#include "catalog/SystemAction.h"
#include "catalog/WheelActionTarget.h"
#include "editor/ApplicationChoice.h"
#include "icons/EmojiText.h"
#include "icons/SymbolCatalog.h"
#include "model/KeyComboText.h"
#include "platform/Workspace.h"
#include "util/Ascii.h"

#include <algorithm>

namespace rondelix::SliceFormInputs {

std::string symbolRowLabel(const Icon::SfSymbol& symbol) {
    return symbol.name.empty() ? "No symbol chosen" : SymbolCatalog::shownName(symbol.name);
}

std::string imageRowLabel(const Icon::CustomImage& image) {
    return image.filename.empty() ? "No image chosen" : "Custom image";
}

std::string appRowName(const MacroAction::App& app, const platform::Workspace& workspace) {
    // An empty identifier names no application, so it reads like a missing one.
    if (!app.bundleIdentifier || app.bundleIdentifier->empty()) return "No app chosen";
    return installedAppName(*app.bundleIdentifier, workspace).value_or(*app.bundleIdentifier);
}

std::string keyFieldText(const KeyCombo& combo) {
    if (const auto character = KeyComboText::character(combo.keyCode))
        return std::string(1, asciiUpper(*character));
    return KeyComboText::keyLabel(combo.keyCode);
}

bool keyFieldEditable(const KeyCombo& combo) {
    return KeyComboText::character(combo.keyCode).has_value();
}

std::optional<KeyCombo> keyFieldWrite(const KeyCombo& combo, std::string_view text) {
    const std::string last = lastCharacter(text);
    if (last.empty()) return std::nullopt;
    const auto keyCode = KeyComboText::keyCode(last);
    if (!keyCode) return std::nullopt;
    KeyCombo written = combo;
    written.keyCode = *keyCode;
    return written;
}

std::string_view modifierTitle(Modifier modifier) {
    switch (modifier) {
    case Modifier::ctrl:
        return KeyComboText::ctrlWord;
    case Modifier::shift:
        return KeyComboText::shiftWord;
    case Modifier::super:
        return KeyComboText::superWord;
    case Modifier::alt:
        break;
    }
    return KeyComboText::altWord;
}

bool modifierIsOn(const KeyCombo& combo, Modifier modifier) {
    switch (modifier) {
    case Modifier::ctrl:
        return combo.primary || combo.control;
    case Modifier::shift:
        return combo.shift;
    case Modifier::super:
        return combo.super;
    case Modifier::alt:
        break;
    }
    return combo.alt;
}

KeyCombo withModifier(KeyCombo combo, Modifier modifier, bool on) {
    switch (modifier) {
    case Modifier::ctrl:
        combo.primary = on;
        combo.control = false;
        break;
    case Modifier::shift:
        combo.shift = on;
        break;
    case Modifier::alt:
        combo.alt = on;
        break;
    case Modifier::super:
        combo.super = on;
        break;
    }
    return combo;
}

namespace {

// How the wheel review marks an action that does nothing here.
constexpr std::string_view unavailableMark = " (not available on this desktop)";

// The program does not update itself here: updates come from the system's
// package manager, so checking for one is no quick setting.
bool offeredOnLinux(const WheelActionTarget& target) {
    const auto* quick = std::get_if<WheelActionTarget::QuickSetting>(&target.opens);
    return !quick || *quick != WheelActionTarget::QuickSetting::checkForUpdates;
}

} // namespace

std::vector<MenuSection> systemActionMenu(const std::string& currentId, std::string_view desktop,
                                          const InstalledAsShipped& asShipped) {
    std::vector<MenuSection> sections;
    for (const SystemAction::Category category : SystemAction::allCategories()) {
        MenuSection section{std::string(SystemAction::rawValue(category)), {}};
        for (const SystemAction& action : SystemAction::all())
            if (action.category == category && systemActionOfferedOnLinux(action.id))
                section.rows.push_back({action.displayName, action.id, action.id == currentId,
                                        systemActionUnavailableReason(action.id, desktop, asShipped)});
        if (!section.rows.empty()) sections.push_back(std::move(section));
    }
    return sections;
}

std::string systemActionLabel(const std::string& currentId, std::string_view desktop,
                              const InstalledAsShipped& asShipped) {
    const auto found = SystemAction::find(currentId);
    if (!found) return "Choose an action…";
    if (systemActionUnavailableReason(currentId, desktop, asShipped))
        return found->displayName + std::string(unavailableMark);
    return found->displayName;
}

std::vector<MenuSection> pageMenu(const std::optional<std::string>& currentTarget) {
    std::vector<MenuSection> sections;
    for (const WheelActionTarget::Section kind : WheelActionTarget::allSections()) {
        MenuSection section{kind == WheelActionTarget::Section::page ? "Open a Page" : "Quick Settings", {}};
        for (const WheelActionTarget& target : WheelActionTarget::all())
            if (target.section() == kind && offeredOnLinux(target))
                section.rows.push_back({target.displayName, target.id, currentTarget == target.id});
        sections.push_back(std::move(section));
    }
    return sections;
}

std::string pageLabel(const std::optional<std::string>& currentTarget) {
    const auto found = WheelActionTarget::find(currentTarget);
    if (!found) return "Choose…";
    if (!offeredOnLinux(*found)) return found->displayName + std::string(unavailableMark);
    return found->displayName;
}

std::vector<MenuRow> automationRows(const std::string& currentName,
                                    const std::vector<std::string>& installed) {
    std::vector<MenuRow> rows{{"Choose an automation…", "", currentName.empty()}};
    const bool known = std::any_of(installed.begin(), installed.end(), [&](const std::string& name) {
        return equalIgnoringCase(name, currentName);
    });
    if (!currentName.empty() && !known)
        rows.push_back({"\u26A0\uFE0E " + currentName + " (not installed)", currentName, true});
    for (const std::string& name : installed)
        rows.push_back({name, name, name == currentName});
    return rows;
}

} // namespace rondelix::SliceFormInputs
