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

// The extension of the path's last component, in lower case: the text after
// its last dot, or nothing without a dot.
std::string lowerExtension(std::string_view path) {
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    const std::size_t slash = path.rfind('/');
    const std::string_view component = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = component.rfind('.');
    if (dot == std::string_view::npos) return {};
    return asciiLowercased(component.substr(dot + 1));
}

bool isEmpty(const std::optional<std::string>& text) {
    return !text || text->empty();
}

bool appRunsCode(const MacroAction::App& app) {
    // A desktop entry is launched as the application it describes; any other
    // file, an executable whatever its name, is handed to whatever runs it.
    // Decided by the text alone, so a wheel is judged alike on every machine.
    return !isEmpty(app.path) && lowerExtension(*app.path) != "desktop";
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
std::optional<std::string> warningDetail(const MacroAction& action) {
    using Detail = std::optional<std::string>;
    return std::visit(Overloaded{
                          [](const MacroAction::App& a) -> Detail {
                              if (!appRunsCode(a)) return std::nullopt;
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
bool canRunCode(const MacroAction& action) {
    return warningDetail(action).has_value();
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

bool containsCode(const Wheel& wheel) {
    return std::any_of(wheel.slices.begin(), wheel.slices.end(),
                       [](const Slice& slice) { return canRunCode(slice.action); });
}

std::vector<std::string> codeWarnings(const Wheel& wheel) {
    std::vector<const Slice*> ordered;
    ordered.reserve(wheel.slices.size());
    for (const Slice& slice : wheel.slices)
        ordered.push_back(&slice);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Slice* a, const Slice* b) { return a->position < b->position; });

    std::vector<std::string> lines;
    for (const Slice* slice : ordered)
        if (auto detail = warningDetail(slice->action))
            lines.push_back(curlyQuoted(sliceName(*slice)) + *detail);
    return lines;
}

} // namespace rondelix
