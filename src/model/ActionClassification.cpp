#include "model/ActionClassification.h"

#include "model/AutomationWords.h"
#include "util/Ascii.h"
#include "util/TextClipping.h"
#include "util/TextTrimming.h"
#include "util/UrlSyntax.h"

#include <algorithm>

namespace rondelix {

namespace {

constexpr std::size_t nameLimit = 60;
constexpr std::size_t payloadLimit = 120;
constexpr std::string_view openQuote = "\u201C";
constexpr std::string_view closeQuote = "\u201D";

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

std::string warningLine(const Slice& slice) {
    std::string line = std::string(openQuote) + sliceName(slice) + std::string(closeQuote);
    const MacroAction& action = slice.action;
    if (const auto* app = action.as<MacroAction::App>()) {
        line += " launches a file: " + clippedForDisplay(app->path.value_or(""), payloadLimit);
    } else if (const auto* url = action.as<MacroAction::Url>()) {
        line += " opens: " + clippedForDisplay(url->url, payloadLimit);
    } else if (const auto* script = action.as<MacroAction::Script>()) {
        line += " runs a script: " + clippedForDisplay(script->source, payloadLimit);
    } else if (const auto* shortcut = action.as<MacroAction::Shortcut>()) {
        line += " runs " + AutomationWords::named(clippedForDisplay(shortcut->name, nameLimit));
    }
    return line;
}

} // namespace

bool canRunCode(const MacroAction& action) {
    if (action.is<MacroAction::Script>() || action.is<MacroAction::Shortcut>()) return true;
    if (const auto* app = action.as<MacroAction::App>()) return appRunsCode(*app);
    if (const auto* url = action.as<MacroAction::Url>()) return linkRunsCode(url->url);
    return false;
}

bool isUnconfigured(const MacroAction& action) {
    if (const auto* text = action.as<MacroAction::Text>()) return text->text.empty();
    if (const auto* system = action.as<MacroAction::SystemAction>()) return system->id.empty();
    if (const auto* script = action.as<MacroAction::Script>())
        return trimmedWhitespace(script->source).empty();
    if (const auto* shortcut = action.as<MacroAction::Shortcut>())
        return trimmedWhitespace(shortcut->name).empty();
    if (const auto* url = action.as<MacroAction::Url>()) {
        const std::string_view link = trimmedLink(url->url);
        return link.empty() || link == "http://" || link == "https://";
    }
    if (const auto* app = action.as<MacroAction::App>())
        return isEmpty(app->bundleIdentifier) && isEmpty(app->path);
    return false;
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
        if (canRunCode(slice->action)) lines.push_back(warningLine(*slice));
    return lines;
}

} // namespace rondelix
