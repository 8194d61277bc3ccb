#include "gallery/WheelManifest.h"

#include "catalog/SystemAction.h"
#include "catalog/WheelActionTarget.h"
#include "model/AutomationWords.h"
#include "model/KeyComboText.h"
#include "platform/Workspace.h"
#include "util/CurlyQuoted.h"
#include "util/GraphemeClusters.h"
#include "util/UrlSyntax.h"
#include "util/Utf8.h"

#include <algorithm>

namespace rondelix::WheelManifest {

namespace {

constexpr std::size_t textPreviewLength = 24;

std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// The first user-perceived characters of the text, with "…" when there were
// more than `limit`.
std::string preview(const std::string& text, std::size_t limit) {
    const std::u32string scalars = utf8::decode(text);
    std::size_t end = 0;
    for (std::size_t count = 0; count < limit && end < scalars.size(); ++count)
        end = nextGraphemeBoundary(scalars, end);
    if (end == scalars.size()) return text;
    return utf8::encode(std::u32string_view(scalars).substr(0, end)) + "\u2026";
}

// The last path component without its extension, as a file path reads;
// slashes at the end do not count.
std::string fileNameWithoutExtension(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    const auto slash = path.rfind('/');
    std::string_view name =
        slash == std::string_view::npos || path.size() == 1 ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(name);
}

// The text's lines: "\r\n", "\n" and "\r" each end one, as each presses
// Return where the text is typed.
std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> found;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        found.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    found.push_back(text.substr(start));
    return found;
}

// A text of several lines shows its first and how many there are: pasted
// text can be a command, and what follows the first line runs too.
std::string textDetail(const std::string& text) {
    if (text.empty()) return "Types text";
    const auto all = lines(text);
    if (all.size() == 1) return "Types " + curlyQuoted(preview(text, textPreviewLength));
    std::string first = preview(std::string(all.front()), textPreviewLength);
    if (!first.ends_with("\u2026")) first += "\u2026";
    return "Types " + curlyQuoted(first) + " (" + std::to_string(all.size()) + " lines)";
}

std::string linkDetail(const std::string& link) {
    return "Opens " + linkHost(link).value_or(link);
}

Description systemActionDescription(const std::string& id, const SystemActionUnavailable& unavailable) {
    const auto row = SystemAction::find(id);
    if (!row) return {id, "gearshape"};
    if (unavailable && unavailable(id))
        return {row->displayName + " (not available on this desktop)", row->symbol};
    return {row->displayName, row->symbol};
}

Description targetDescription(const std::optional<std::string>& target) {
    const auto row = WheelActionTarget::find(target);
    if (!row) return {"Opens Rondelix", "gearshape"};
    const bool standsAlone = row->section() == WheelActionTarget::Section::quickSetting;
    return {standsAlone ? row->displayName : "Opens " + row->displayName, row->symbol};
}

} // namespace

std::vector<Slice> slicesInSlotOrder(const Wheel& wheel) {
    std::vector<Slice> slices = wheel.slices;
    std::stable_sort(slices.begin(), slices.end(),
                     [](const Slice& a, const Slice& b) { return a.position < b.position; });
    return slices;
}

std::string label(const Slice& slice) {
    std::string text = oneLine(slice.label);
    if (text.empty()) text = "Slice " + std::to_string(static_cast<long long>(slice.position) + 1);
    return text;
}

std::vector<Entry> entries(const Wheel& wheel, const platform::Workspace& workspace,
                           const SystemActionUnavailable& unavailable) {
    std::vector<Entry> list;
    for (const auto& slice : slicesInSlotOrder(wheel)) {
        auto [detail, icon] = describe(slice.action, workspace, unavailable);
        list.push_back({Uuid::generate(), std::move(icon), label(slice), std::move(detail)});
    }
    return list;
}

Description describe(const MacroAction& action, const platform::Workspace& workspace,
                     const SystemActionUnavailable& unavailable) {
    struct Visitor {
        const platform::Workspace& workspace;
        const SystemActionUnavailable& unavailable;
        Description operator()(const MacroAction::Text& a) const {
            return {textDetail(a.text), "text.cursor"};
        }
        Description operator()(const MacroAction::App& a) const {
            return {"Opens " + appName(a.bundleIdentifier, a.path, workspace), "app.fill"};
        }
        Description operator()(const MacroAction::Url& a) const { return {linkDetail(a.url), "safari"}; }
        Description operator()(const MacroAction::SystemAction& a) const {
            return systemActionDescription(a.id, unavailable);
        }
        Description operator()(const MacroAction::Script&) const {
            return {"Runs a shell script", "terminal"};
        }
        Description operator()(const MacroAction::Shortcut& a) const {
            return {"Runs " + AutomationWords::named(a.name), "square.stack.3d.up"};
        }
        Description operator()(const MacroAction::OpenSettings& a) const {
            return targetDescription(a.target);
        }
        Description operator()(const MacroAction::Unknown&) const {
            return {"Needs a newer version of Rondelix", "questionmark.circle"};
        }
        Description operator()(const MacroAction::Keystroke& a) const {
            return {"Sends " + KeyComboText::displayString(a.combo), "keyboard"};
        }
    };
    return std::visit(Visitor{workspace, unavailable}, action.value);
}

std::string appName(const std::optional<std::string>& bundleID, const std::optional<std::string>& path,
                    const platform::Workspace& workspace) {
    if (bundleID) {
        if (const auto location = workspace.applicationPath(*bundleID))
            return workspace.applicationName(*location).value_or(fileNameWithoutExtension(*location));
    }
    if (path) return fileNameWithoutExtension(*path);
    if (bundleID) return *bundleID;
    return "an app";
}

} // namespace rondelix::WheelManifest
