#include "model/ActionClassification.h"

#include "model/AutomationWords.h"
#include "util/Ascii.h"
#include "util/CurlyQuoted.h"
#include "util/Overloaded.h"
#include "util/TextClipping.h"
#include "util/TextTrimming.h"
#include "util/UrlSyntax.h"

#include <algorithm>
#include <variant>

namespace rondelix {

namespace {

constexpr std::size_t nameLimit = 60;
constexpr std::size_t payloadLimit = 120;

// The path's parts between slashes, empty ones left out; none for a path that
// is not absolute or that steps through "." or "..".
std::optional<std::vector<std::string_view>> absoluteParts(std::string_view path) {
    if (!path.starts_with('/')) return std::nullopt;
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const std::size_t slash = path.find('/');
        const std::string_view part = path.substr(0, slash);
        if (part == "." || part == "..") return std::nullopt;
        if (!part.empty()) parts.push_back(part);
        if (slash == std::string_view::npos) break;
        path.remove_prefix(slash + 1);
    }
    return parts;
}

bool isDesktopEntryName(std::string_view name) {
    constexpr std::string_view suffix = ".desktop";
    return name.size() > suffix.size() && asciiLowercased(name.substr(name.size() - suffix.size())) == suffix;
}

bool isEmpty(const std::optional<std::string>& text) {
    return !text || text->empty();
}

bool appRunsCode(const MacroAction::App& app, const ApplicationFolders& installed) {
    // The identifier alone finds an installed application; a path is judged
    // by where it leads, so that a desktop entry from a download is no
    // installed application whatever it calls itself.
    return !isEmpty(app.path) && !isInstalledApplicationEntry(*app.path, installed);
}

// Decided by the scheme alone, never by whether the whole link parses: the
// link opener retries what a parser rejects after escaping it, so a link
// such as "javascript:alert(1) x" still reaches its handler.
bool linkRunsCode(std::string_view link) {
    const auto scheme = urlScheme(trimmedLink(link));
    return scheme && std::find(safeURLSchemes.begin(), safeURLSchemes.end(), *scheme) == safeURLSchemes.end();
}

std::string sliceName(const Slice& slice) {
    std::string name = clippedForDisplay(slice.label, nameLimit);
    if (name.empty()) name = "Slice " + std::to_string(static_cast<long long>(slice.position) + 1);
    return name;
}

// What follows the slice's name in its warning line; nothing for an action
// that runs no code.
std::optional<std::string> warningDetail(const MacroAction& action, const ApplicationFolders& installed) {
    using Detail = std::optional<std::string>;
    return std::visit(Overloaded{
                          [&installed](const MacroAction::App& a) -> Detail {
                              if (!appRunsCode(a, installed)) return std::nullopt;
                              return " launches a file: " +
                                     clippedForDisplay(a.path.value_or(""), payloadLimit);
                          },
                          [](const MacroAction::Url& a) -> Detail {
                              if (!linkRunsCode(a.url)) return std::nullopt;
                              return " opens: " + clippedForDisplay(a.url, payloadLimit);
                          },
                          [](const MacroAction::Script& a) -> Detail {
                              return " runs a script: " + clippedForDisplay(a.source, payloadLimit);
                          },
                          [](const MacroAction::Shortcut& a) -> Detail {
                              return " runs " + AutomationWords::named(clippedForDisplay(a.name, nameLimit));
                          },
                          [](const MacroAction::Text&) -> Detail { return std::nullopt; },
                          [](const MacroAction::SystemAction&) -> Detail { return std::nullopt; },
                          [](const MacroAction::OpenSettings&) -> Detail { return std::nullopt; },
                          [](const MacroAction::Keystroke&) -> Detail { return std::nullopt; },
                          [](const MacroAction::Unknown& a) -> Detail {
                              return " runs an action from a newer version of Rondelix: " +
                                     clippedForDisplay(a.kind, nameLimit);
                          },
                      },
                      action.value);
}

} // namespace

// Both the verdict and the review's line come from one visit, so a new kind
// of action cannot pass the review as harmless without being decided here.
bool canRunCode(const MacroAction& action, const ApplicationFolders& installed) {
    return warningDetail(action, installed).has_value();
}

bool isUnconfigured(const MacroAction& action) {
    return std::visit(
        Overloaded{
            [](const MacroAction::Text& a) { return a.text.empty(); },
            [](const MacroAction::SystemAction& a) { return a.id.empty(); },
            [](const MacroAction::Script& a) { return trimmedWhitespace(a.source).empty(); },
            [](const MacroAction::Shortcut& a) { return trimmedWhitespace(a.name).empty(); },
            [](const MacroAction::Url& a) {
                const std::string_view link = trimmedLink(a.url);
                return link.empty() || link == "http://" || link == "https://";
            },
            [](const MacroAction::App& a) { return isEmpty(a.bundleIdentifier) && isEmpty(a.path); },
            [](const MacroAction::OpenSettings&) { return false; },
            [](const MacroAction::Keystroke&) { return false; },
            [](const MacroAction::Unknown&) { return false; },
        },
        action.value);
}

bool containsCode(const Wheel& wheel, const ApplicationFolders& installed) {
    return std::any_of(wheel.slices.begin(), wheel.slices.end(),
                       [&installed](const Slice& slice) { return canRunCode(slice.action, installed); });
}

std::vector<std::string> codeWarnings(const Wheel& wheel, const ApplicationFolders& installed) {
    std::vector<const Slice*> ordered;
    ordered.reserve(wheel.slices.size());
    for (const Slice& slice : wheel.slices)
        ordered.push_back(&slice);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Slice* a, const Slice* b) { return a->position < b->position; });

    std::vector<std::string> lines;
    for (const Slice* slice : ordered)
        if (auto detail = warningDetail(slice->action, installed))
            lines.push_back(curlyQuoted(sliceName(*slice)) + *detail);
    return lines;
}

bool isInstalledApplicationEntry(std::string_view path, const ApplicationFolders& installed) {
    const auto parts = absoluteParts(path);
    if (!parts || parts->empty() || !isDesktopEntryName(parts->back())) return false;
    return std::any_of(installed.begin(), installed.end(), [&parts](const std::string& folder) {
        const auto folderParts = absoluteParts(folder);
        return folderParts && folderParts->size() < parts->size() &&
               std::equal(folderParts->begin(), folderParts->end(), parts->begin());
    });
}

} // namespace rondelix
